// The continuum's progress dialog as the window shows it: it takes clicks while the worker
// writes the steps, and its Cancel leaves nothing of them.
#include "AppFixture.h"
#include "app/MainFrame.h"
#include "qtseams/QtInputPrompt.h"
#include "view/ContinuumForm.h"
#include "view/TundrelView.h"

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <filesystem>
#include <functional>

namespace {

// The real progress dialog, with the Make Continuum form filled in as given.
class FilledForm : public QtInputPrompt {
public:
    explicit FilledForm(std::function<void(InputForm&)> fill) : m_fill(std::move(fill)) {
        SetInputPrompt(this);
    }
    ~FilledForm() override { SetInputPrompt(nullptr); }
    bool AskForm(InputForm& form) override {
        m_fill(form);
        return true;
    }

private:
    std::function<void(InputForm&)> m_fill;
};

} // namespace

TEST_F(AppFixture, ContinuumCancelledOnItsProgressDialogLeavesNothing) {
    ASSERT_TRUE(Start());
    const std::string folder = work.File("cut");
    FilledForm prompt([folder](InputForm& form) {
        form.fields[kContinuumTo].chosen = 0;
        form.fields[kContinuumF1].text = "700";
        form.fields[kContinuumF2].text = "1200";
        form.fields[kContinuumSteps].text = "9";
        form.fields[kContinuumFolder].text = folder;
        form.fields[kContinuumPrefix].text = "cut";
    });
    bool clicked = false;
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QProgressDialog*>(widget);
            if (!clicked && dialog && dialog->isVisible()) {
                dialog->findChild<QPushButton*>()->click();
                clicked = true;
            }
        }
    });
    clicker.start(5);
    app->Frame()->ExecuteCommand(ID_MAKE_CONTINUUM);
    EXPECT_TRUE(clicked);
    EXPECT_FALSE(std::filesystem::exists(folder));
    EXPECT_TRUE(app->View()->ContinuumFiles().empty());
    EXPECT_TRUE(messages.Messages().empty());
}
