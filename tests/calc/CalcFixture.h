#pragma once
// A small order for calculator tests: a container owner holding a part list and the sheets
// container, a current material and setup, the calculator installed, and the virtual clock.
#include "PlanChecker.h"
#include "calc/Calculator.h"
#include "model/ApplicationLinks.h"
#include "model/CuttingSheet.h"
#include "model/Dimension.h"
#include "model/Material.h"
#include "model/Part.h"
#include "model/Setup.h"
#include "model/Sheets.h"
#include "platform/Clock.h"
#include "platform/Locale.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace lintaro::test {

// Stands in for the order: owns the part list and the container; can react to the container's
// announcements (to stop a calculation, say).
class TTestOrder : public TDataComponent {
    LINTARO_COMPONENT(TTestOrder)
public:
    explicit TTestOrder(TComponent* owner = nullptr) : TDataComponent(owner) {}
    bool DataChangeStep(TComponent* source, TComponent* sender, int phase, const QString& prop) override {
        if (phase == 1 && onChange)
            onChange(source, prop);
        return TDataComponent::DataChangeStep(source, sender, phase, prop);
    }
    std::function<void(TComponent*, const QString&)> onChange;
};

class CalcFixture : public ::testing::Test {
protected:
    CalcFixture();
    ~CalcFixture() override;

    TPart* addPart(const QString& caption, double x, double y, int count, TPartOrientation o = poNone);
    TDimension* addDim(double x, double y, int count, bool isDefault = false);
    // Calculates and checks every sheet of the result with the plan checker and the demand.
    void calculate();
    // Σ sheet count × placed pieces, per order part ID.
    std::map<int, int> placedPerPart() const;
    QString report() const { return sheets->CalculationReport().join(u'\n'); }

    ScopedLocale locale{Locale::czech()};
    TScopedApplicationLinks links;
    TSetup setup;
    TMaterial material;
    TTestOrder order;
    TPartList* parts = nullptr;
    TSheets* sheets = nullptr;
    VirtualClock clock{2000};
};

// The physical sheets of a result: each cutting sheet times its count.
int sheetTotal(const TSheets* sheets);

} // namespace lintaro::test
