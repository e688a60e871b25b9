// The vowel list shows every vowel's whole symbol, and the mark of a stored one, on every
// page and map, also when all 32 vowels are stored and the list scrolls.
#include "TextRecorder.h"
#include "ViewFixture.h"

#include <QListWidget>
#include <QScrollBar>
#include <QTest>

namespace {

// Every row of the list painted on its own: what it drew, and whether it fits the row.
void ExpectEveryRowWhole(QListWidget& list, const std::string& where) {
    QWidget* viewport = list.viewport();
    for (int row = 0; row < list.count(); ++row) {
        QListWidgetItem* item = list.item(row);
        list.scrollToItem(item);
        const QRect rect = list.visualItemRect(item);
        TextRecorder device(viewport->size());
        viewport->render(&device, rect.topLeft(), QRegion(rect));
        QString drawn;
        for (const PaintedText& text : device.texts) {
            if (!rect.contains(text.origin.toPoint()))
                continue; // a neighbour's text, cut by the region
            drawn += text.text;
            EXPECT_GE(text.origin.x(), rect.left()) << where << " row " << row;
            EXPECT_LE(text.Right(), rect.right() + 1.0) << where << " row " << row;
            if (text.text != item->text().right(1)) { // the symbol stays readable
                EXPECT_GE(text.font.pixelSize(), 16) << where << " row " << row;
            }
        }
        EXPECT_EQ(drawn, item->text()) << where << " row " << row;
    }
}

TEST_F(ViewTest, EveryRowOfTheVowelListShowsItsWholeSymbolAndMark) {
    CreateView();
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    QListWidget& list = *view->VowelList();
    for (int gender : {kMale, kFemale}) {
        view->OnCommand(gender == kMale ? ID_MALE : ID_FEMALE);
        for (int slot = 0; slot < kTypeCount * kPositionsPerType; ++slot)
            doc.StoreEntry(slot, 500, 1500, 2500, 100, gender, kCardinal);
        for (int type = 0; type < kTypeCount; ++type) {
            view->OnCommand(ID_TYPE_PRIMARY + type);
            ExpectEveryRowWhole(list, "gender " + std::to_string(gender) + " page " +
                                          std::to_string(type));
        }
        for (int map : {ID_MODIFIED_MAP, ID_MODIFIED_VOWELS}) {
            view->OnCommand(map);
            ASSERT_EQ(list.count(), 32);
            QApplication::processEvents();
            EXPECT_TRUE(list.verticalScrollBar()->isVisible());
            ExpectEveryRowWhole(list,
                                "gender " + std::to_string(gender) + " map " + std::to_string(map));
            view->OnCommand(map);
        }
    }
    EXPECT_EQ(list.width(), 50);
}

} // namespace
