// The layout rules of the workshop pack's pages, checked on what the pages really draw: no text
// under 6 pt, no two texts of one drawing or table overlapping, every piece's number and size
// on its sheet's page, identical plans drawn once.
#include "workshop/PackLabels.h"
#include "workshop/PackOutput.h"
#include "workshop/WorkshopPack.h"

#include "model/ApplicationLinks.h"
#include "model/CuttingSheet.h"
#include "model/Dimension.h"
#include "model/Order.h"
#include "model/Part.h"
#include "model/Setup.h"
#include "model/Sheets.h"
#include "platform/Locale.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

using namespace lintaro;
using namespace lintaro::workshop;

namespace {

Currency mm(double v) {
    return Currency::fromValue(v);
}

class PackLayout : public ::testing::Test {
protected:
    void SetUp() override {
        test::initProgramForTests();
        test::ensureGuiApplication();
        TApplicationLinks::SetSetup(&setup_);
        // Parts 1–4: a large one with a long caption, a narrow tall one, a small one and a tiny one.
        const struct {
            const char* caption;
            double x, y;
            int count;
        } parts[] = {{"Side panel left with a long caption", 800, 600, 2},
                     {"Rail", 60, 1500, 2},
                     {"Shelf", 300, 200, 4},
                     {"Wedge", 12, 12, 1}};
        for (const auto& p : parts) {
            auto* part = new TPart(nullptr);
            order_.Parts()->ItemInsert(part);
            part->SetCaption(QString::fromUtf8(p.caption));
            part->SetX(mm(p.x));
            part->SetY(mm(p.y));
            part->SetCount(p.count);
        }
        auto* sheet = new TCuttingSheet(nullptr);
        sheet->Dimension()->SetX(mm(2800));
        sheet->Dimension()->SetY(mm(2070));
        sheet->SetCount(2);
        place(*sheet, 1, 0, 0, 800, 600);
        place(*sheet, 1, 0, 604, 800, 600);
        place(*sheet, 2, 804, 0, 60, 1500);
        place(*sheet, 3, 868, 0, 300, 200);
        place(*sheet, 3, 868, 204, 300, 200);
        place(*sheet, 4, 868, 408, 12, 12);
        auto* rest = new TCSDimOut(nullptr);
        rest->SetPlace(mm(1500), mm(0), mm(1300), mm(2070));
        rest->SetIsRecyable(true);
        sheet->Rests()->ItemInsert(rest);
        order_.Sheets()->CuttingSheets()->ItemInsert(sheet);
    }
    void TearDown() override { TApplicationLinks::SetSetup(nullptr); }

    static void place(TCuttingSheet& sheet, int id, double ox, double oy, double x, double y) {
        auto* p = new TCSPartOut(nullptr);
        p->SetPartID(id);
        p->SetPlace(mm(ox), mm(oy), mm(x), mm(y));
        p->SetOriginal(mm(x), mm(y));
        sheet.Parts()->ItemInsert(p);
    }

    static QList<TDrawnText> drawn(const TWorkshopPack& pack, int page) {
        QList<TDrawnText> log;
        QImage image(100, 100, QImage::Format_RGB32);
        QPainter painter(&image);
        pack.PaintPage(page, painter, &log);
        return log;
    }

    ScopedLocale locale_{Locale::czech()};
    TSetup setup_;
    TOrder order_;
};

} // namespace

TEST_F(PackLayout, NoTextUnderSixPointsAndNoneOverlapsAnother) {
    for (TPackPaper paper : {ppA4, ppA3, ppLetter})
        for (TLabelStock labels : {lsA4_3x8, lsA4_2x7, lsRoll62x29, lsRoll100x50}) {
            TPackOptions options;
            options.Paper = paper;
            options.Labels = labels;
            options.Date = QDate(2026, 3, 1);
            const TWorkshopPack pack(order_, options);
            ASSERT_GT(pack.PageCount(), 2);
            for (int page = 0; page < pack.PageCount(); ++page) {
                const QList<TDrawnText> log = drawn(pack, page);
                for (qsizetype i = 0; i < log.size(); ++i) {
                    EXPECT_GE(log[i].Points, kMinTextPoints - 1e-9) << log[i].Text.toStdString();
                    for (qsizetype j = i + 1; j < log.size(); ++j)
                        if (log[i].Group == log[j].Group) {
                            const QRectF common = log[i].Box.intersected(log[j].Box);
                            EXPECT_FALSE(common.width() > 1 && common.height() > 1)
                                << "page " << page + 1 << ": \"" << log[i].Text.toStdString() << "\" and \""
                                << log[j].Text.toStdString() << '"';
                        }
                }
            }
        }
}

TEST_F(PackLayout, EveryPieceHasItsNumberAndSizeOnItsPage) {
    TPackOptions options;
    options.Labels = lsNone;
    const TWorkshopPack pack(order_, options);
    // Cover, one diagram (the plan is cut twice but drawn once), perhaps continued, the offcuts.
    int diagrams = 0;
    QStringList texts;
    for (int i = 1; i < pack.PageCount(); ++i) {
        if (pack.Page(i).Title.startsWith(QStringLiteral("Sheet")) && pack.Page(i).InContents)
            ++diagrams;
        for (const TDrawnText& t : drawn(pack, i))
            texts << t.Text;
    }
    EXPECT_EQ(diagrams, 1);
    const QString all = texts.join(u'\n');
    EXPECT_TRUE(all.contains(QStringLiteral("Sheets 1–2 of 2"))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("× 2")));
    // The pieces big enough show number and size on the drawing; the cut list has every part's
    // number with its length and width.
    for (const char* size : {"800 × 600", "60 × 1500", "300 × 200"})
        EXPECT_TRUE(all.contains(QString::fromUtf8(size))) << size;
    EXPECT_TRUE(all.contains(QStringLiteral("1300 × 2070"))); // the rest
    for (int id = 1; id <= 4; ++id)
        EXPECT_TRUE(texts.contains(QString::number(id)) || all.contains(QStringLiteral("%1  ").arg(id)))
            << id;
    EXPECT_TRUE(texts.contains(QStringLiteral("12")));   // the tiny wedge's size in the cut list
    EXPECT_TRUE(texts.contains(QStringLiteral("1500"))); // the rail's length
}

TEST_F(PackLayout, OneLabelPerPieceToCutThenOnePerRest) {
    TPackOptions options;
    const TWorkshopPack pack(order_, options);
    const QList<TPackLabel> labels = PackLabels(pack.Data());
    // Six pieces on each of two sheets, then the rest of each sheet.
    ASSERT_EQ(labels.size(), 14);
    EXPECT_EQ(labels[0].Sheet, 1);
    EXPECT_EQ(labels[6].Sheet, 2);
    EXPECT_EQ(labels[6].PartID, 1);
    EXPECT_EQ(labels[6].Piece, 3);
    EXPECT_EQ(labels[6].Barcode, PieceBarcodeText(order_.Caption(), 1, 3));
    EXPECT_TRUE(labels[12].Rest);
    EXPECT_TRUE(labels[13].Rest);
}

TEST_F(PackLayout, ADamagedCountMakesNoPagesButAReason) {
    order_.Sheets()->CuttingSheets()->Sheet(0)->SetCount(20000);
    const TWorkshopPack pack(order_, TPackOptions{});
    EXPECT_EQ(pack.PageCount(), 0);
    EXPECT_TRUE(pack.Problem().contains(QStringLiteral("20000"))) << pack.Problem().toStdString();
}
