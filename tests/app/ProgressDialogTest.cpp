// The progress dialog of long tasks (Make Continuum) is wide enough for its title.
#include "qtseams/QtInputPrompt.h"

#include <QApplication>
#include <QFontMetrics>
#include <QProgressDialog>

#include <gtest/gtest.h>

TEST(ProgressDialogTest, IsWiderThanItsTitle) {
    QtInputPrompt prompt;
    const std::string title = "Make Continuum: vowels from i to a in 100 steps";
    ASSERT_TRUE(prompt.ShowProgress(title, 1, 100));
    QProgressDialog* dialog = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        dialog = dialog ? dialog : qobject_cast<QProgressDialog*>(widget);
    ASSERT_TRUE(dialog);
    // The title bar's buttons take room beside the title.
    EXPECT_GT(dialog->width(),
              QFontMetrics(QApplication::font()).horizontalAdvance(QString::fromStdString(title)) +
                  100);
    prompt.EndProgress();
}
