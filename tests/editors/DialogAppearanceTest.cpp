// How the editors look to a new user: tool-button pictures without a grey square and sharp at a
// device pixel ratio of 2, the palette page list's column titles shown whole, and the enemy
// editor keeping its width when its message line appears.
#include "EditorTestSupport.h"
#include "editors/CBlockEditorDlg.h"
#include "editors/CColourListControl.h"
#include "editors/CEditorDialog.h"
#include "editors/CEnemyEditorDlg.h"
#include "editors/EditorControlIds.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionHeader>

#include <gtest/gtest.h>

#include <climits>

namespace korvane {
namespace {

// Every bitmap of the tool buttons, read here from the program's pictures.
QImage SourceBitmap(int resourceId) {
    return QImage(QStringLiteral(":/korvane/bitmaps/%1.png").arg(resourceId))
        .convertToFormat(QImage::Format_RGB32);
}

constexpr QRgb kLightGrey = 0xFFC0C0C0; // RGB(192, 192, 192), opaque

TEST(ToolButtonPictureTest, TheGreyBackgroundIsTransparentAndThePictureIsKeptAtBothSizes) {
    int greyPixels = 0;
    for (int id = ids::bitmap::kBucket; id <= ids::bitmap::kShiftUp; ++id) {
        const QImage source = SourceBitmap(id);
        ASSERT_EQ(source.size(), QSize(16, 16)) << id;
        const QIcon icon = CEditorDialog::ButtonImage(id);
        ASSERT_FALSE(icon.isNull()) << id;

        const QImage small =
            icon.pixmap(QSize(16, 16), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(small.size(), QSize(16, 16)) << id;
        const QImage large =
            icon.pixmap(QSize(16, 16), 2.0).toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(large.size(), QSize(32, 32)) << id;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const QRgb want = source.pixel(x, y);
                const bool grey = want == kLightGrey;
                greyPixels += grey ? 1 : 0;
                const QRgb got = small.pixel(x, y);
                if (grey) {
                    ASSERT_EQ(qAlpha(got), 0) << id << " " << x << "," << y;
                } else {
                    ASSERT_EQ(got, want) << id << " " << x << "," << y;
                }
                // Each source pixel is a 2 x 2 block of the same value at ratio 2.
                for (int dy = 0; dy < 2; ++dy) {
                    for (int dx = 0; dx < 2; ++dx) {
                        const QRgb block = large.pixel(x * 2 + dx, y * 2 + dy);
                        if (grey) {
                            ASSERT_EQ(qAlpha(block), 0) << id << " " << x << "," << y;
                        } else {
                            ASSERT_EQ(block, want) << id << " " << x << "," << y;
                        }
                    }
                }
            }
        }
    }
    // The bitmaps do have the grey background the test is about.
    EXPECT_GT(greyPixels, 0);
}

TEST(ToolButtonPictureTest, TheButtonsOfAnEditorCarryThesePictures) {
    test::EditorDisplay display;
    auto level = test::DemoLevel(2);
    CBlockEditorDlg dialog(display.context, *level);
    const QPushButton& paint = test::Find<QPushButton>(dialog, ids::kPaint);
    ASSERT_EQ(paint.property("bitmap").toInt(), ids::bitmap::kPaint);
    const QImage shown =
        paint.icon().pixmap(QSize(16, 16), 2.0).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage source = SourceBitmap(ids::bitmap::kPaint);
    ASSERT_EQ(shown.size(), QSize(32, 32));
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QRgb want = source.pixel(x / 2, y / 2);
            if (want == kLightGrey) {
                ASSERT_EQ(qAlpha(shown.pixel(x, y)), 0) << x << "," << y;
            } else {
                ASSERT_EQ(shown.pixel(x, y), want) << x << "," << y;
            }
        }
    }
}

using test::HeaderTitleWidth;

TEST(PalettePageListTest, TheColumnTitlesAreShownWhole) {
    test::EditorDisplay display;
    auto level = test::DemoLevel(2);
    CBlockEditorDlg dialog(display.context, *level);
    dialog.show();
    auto& list = test::Find<CColourListControl>(dialog, ids::kPalettePageList);
    auto* header = list.findChild<QHeaderView*>();
    ASSERT_NE(header, nullptr);
    header->ensurePolished();
    ASSERT_EQ(header->count(), 2);
    EXPECT_EQ(header->model()->headerData(1, Qt::Horizontal).toString(), "Palette Set");
    EXPECT_GE(header->sectionSize(1), HeaderTitleWidth(*header, QStringLiteral("Palette Set")));
    EXPECT_GE(header->sectionSize(0), HeaderTitleWidth(*header, QStringLiteral("Index")));
    // Both fit in the list without a horizontal scroll.
    EXPECT_LE(header->sectionSize(0) + header->sectionSize(1), list.clientWidth());
}

TEST(PalettePageListTest, AColumnIsWidenedOnlyForItsTitle) {
    CColourListControl list;
    list.resize(300, 120);
    list.SetUpColumns(2, {{QStringLiteral("Id"), 64}, {QStringLiteral("A much longer title"), 20}});
    auto* header = list.findChild<QHeaderView*>();
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(list.columnWidth(0), 64); // "Id" fits in 64
    EXPECT_GE(list.columnWidth(1),
              HeaderTitleWidth(*header, QStringLiteral("A much longer title")));
}

TEST(EnemyEditorLayoutTest, TheDialogKeepsItsWidthWhenTheMessageAppears) {
    CEnemyEditorDlg dialog(EnemyPlacement{40, 50, 2, 0x1F});
    dialog.show();
    QApplication::processEvents();
    const int width = dialog.width();

    test::Find<QLineEdit>(dialog, ids::kEnemyIdField).setText(QStringLiteral("G1"));
    dialog.accept();
    QApplication::processEvents();
    const QString message = QStringLiteral(
        "Monster Hex Id: enter the enemy id as one or two hexadecimal digits (00 to FF)");
    ASSERT_EQ(dialog.statusText(), message);
    ASSERT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.width(), width);

    // The message is wider than the dialog on one line, so it wraps, and all of its lines are
    // inside the label, which is inside the dialog.
    auto& status = test::FindNamed<QLabel>(dialog, ids::kStatusName);
    EXPECT_TRUE(status.wordWrap());
    EXPECT_GT(status.fontMetrics().horizontalAdvance(message), status.contentsRect().width());
    const QRect needed = status.fontMetrics().boundingRect(
        QRect(0, 0, status.contentsRect().width(), INT_MAX), Qt::TextWordWrap, message);
    EXPECT_LE(needed.width(), status.contentsRect().width());
    EXPECT_LE(needed.height(), status.contentsRect().height());
    EXPECT_TRUE(dialog.rect().contains(status.geometry()));

    // It can be made larger, and not smaller than what it holds.
    const QSize shown = dialog.size();
    dialog.resize(shown + QSize(200, 100));
    QApplication::processEvents();
    EXPECT_EQ(dialog.size(), shown + QSize(200, 100));
    dialog.resize(10, 10);
    QApplication::processEvents();
    EXPECT_GE(dialog.width(), dialog.minimumSizeHint().width());
    EXPECT_GE(dialog.height(), dialog.layout()->minimumSize().height());
}

} // namespace
} // namespace korvane
