// Every row of the window's binding table, driven through its control: the control exists, a value
// typed into it (or a click on a box) reaches the bound object's property and is shown back; and
// every control of the pages that edits data has a row.
#include "AppFormFixture.h"

#include "app/window/Bindings.h"
#include "app/window/EditLook.h"
#include "app/window/ItemList.h"
#include "foundation/DataComponentList.h"
#include "model/Address.h"
#include "model/ApplicationLinks.h"
#include "model/Dimension.h"
#include "model/Material.h"
#include "model/Order.h"
#include "model/OrderItem.h"
#include "model/Part.h"
#include "model/Setup.h"
#include "model/Sheets.h"

#include <QCheckBox>
#include <QListView>
#include <QPlainTextEdit>
#include <QStackedWidget>

namespace lintaro {
namespace {

class WindowBinding : public AppForm {
protected:
    TDataComponent* objectOf(const TBinding& binding) const {
        TLNEAppForm& w = *window_;
        TSetup* setup = TApplicationLinks::Setup();
        switch (binding.object) {
        case boOrder:
            return w.Order();
        case boCustomer:
            return w.Order()->Customer();
        case boMaterial:
            return w.Material();
        case boSupplier:
            return setup->Supplier();
        case boSetup:
            return setup;
        case boSheets:
            return w.Order()->Sheets();
        case boPartList:
            return w.Order()->Parts();
        case boOrderItem:
            return w.Order()->OrderItems()->ItemFocused();
        case boPart:
            return w.Order()->Parts()->ItemFocused();
        case boDim:
            return w.Material()->Dims()->ItemFocused();
        }
        return nullptr;
    }
    // The page of the main notebook that holds the control.
    TPage pageOf(const QWidget* control) const {
        const auto* notebook = find<QStackedWidget>(QStringLiteral("NBMain"));
        for (const QWidget* w = control; w; w = w->parentWidget())
            if (w->parentWidget() == notebook)
                return static_cast<TPage>(notebook->indexOf(const_cast<QWidget*>(w)));
        return pgOrder;
    }
    // A value the property does not hold yet, as typed; numbers differ from row to row.
    static QString typedValue(const TBinding& binding, const QString& before, int row) {
        const QString& p = binding.property;
        if (p == QLatin1String("DateCreate"))
            return before.startsWith(QLatin1String("02.03.2024")) ? QStringLiteral("03.04.2024")
                                                                  : QStringLiteral("02.03.2024");
        if (p == QLatin1String("VATRate")) {
            // The percentage of another VAT class.
            for (TVATRate rate : {vrZero, vrLow, vrHigh}) {
                const QString value = QString::number(TApplicationLinks::Setup()->GetVATValue(rate));
                if (value + u'%' != before)
                    return value;
            }
        }
        if (p == QLatin1String("Orientation"))
            return before.compare(QLatin1String("X"), Qt::CaseInsensitive) == 0 ? QStringLiteral("Y")
                                                                                : QStringLiteral("X");
        if (IsNumberBinding(binding))
            return QString::number(before.startsWith(QString::number(30 + row)) ? 70 + row : 30 + row);
        return QStringLiteral("Typed ") + binding.control;
    }
};

TEST_F(WindowBinding, EveryRowFindsItsControl) {
    TLNEAppForm& window = open();
    EXPECT_EQ(window.UnboundRows(), QStringList());
}

TEST_F(WindowBinding, EveryRowWritesWhatTheControlTakesAndShowsItBack) {
    sampleCopy(QStringLiteral("Board18.LNM"), QStringLiteral("Board18.LNM"));
    TLNEAppForm& window = open(sampleCopy(QStringLiteral("ShopFitting.LNO"), QStringLiteral("shop.LNO")));
    activate(window);
    // The settings live for the whole run: what is typed here must not reach the other tests.
    auto saved = std::make_shared<TSetup>();
    TApplicationLinks::Setup()->AssignTo(saved.get());
    const std::shared_ptr<void> restore(nullptr,
                                        [saved](void*) { saved->AssignTo(TApplicationLinks::Setup()); });
    int row = 0;
    for (const TBinding& binding : WindowBindings()) {
        ++row;
        SCOPED_TRACE(qPrintable(binding.control));
        auto* widget = find<QWidget>(binding.control);
        ASSERT_NE(widget, nullptr);
        window.SwitchPage(pageOf(widget));
        QApplication::processEvents();
        TDataComponent* object = objectOf(binding);
        ASSERT_NE(object, nullptr);
        const QString before = object->GetPropAsString(binding.property);
        if (auto* box = qobject_cast<QCheckBox*>(widget)) {
            ASSERT_TRUE(box->isVisible());
            // On the box itself, not in the middle of a long caption.
            const QPoint onBox(6, box->height() / 2);
            QTest::mouseClick(box, Qt::LeftButton, {}, onBox);
            EXPECT_NE(object->GetPropAsString(binding.property), before) << "the click reached no property";
            EXPECT_EQ(box->isChecked(), binding.flag(*object));
            QTest::mouseClick(box, Qt::LeftButton, {}, onBox);
            EXPECT_EQ(object->GetPropAsString(binding.property), before);
            continue;
        }
        auto* edit = qobject_cast<QLineEdit*>(widget);
        if ((edit && edit->isReadOnly()) || binding.property == QLatin1String("ID")) {
            // A figure the user does not type: it shows the property.
            EXPECT_EQ(ControlValue(widget), before);
            continue;
        }
        ASSERT_TRUE(widget->isVisible());
        const QString typed = typedValue(binding, before, row);
        QTest::mouseClick(widget, Qt::LeftButton);
        QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(widget, typed);
        QTest::keyClick(widget, Qt::Key_Tab);
        const QString after = object->GetPropAsString(binding.property);
        EXPECT_NE(after, before) << "typed " << qPrintable(typed);
        EXPECT_EQ(ControlValue(widget), after);
        if (!binding.readBack) {
            EXPECT_EQ(after, typed);
        }
    }
    EXPECT_TRUE(dialogs_->errors.isEmpty()) << qPrintable(dialogs_->errors.join(u'\n'));
}

TEST_F(WindowBinding, EveryControlThatEditsDataHasARow) {
    TLNEAppForm& window = open();
    QStringList bound;
    for (const TBinding& binding : WindowBindings())
        bound << binding.control;
    QStringList unbound;
    for (QWidget* widget : find<QStackedWidget>(QStringLiteral("NBMain"))->findChildren<QWidget*>()) {
        const auto* edit = qobject_cast<QLineEdit*>(widget);
        const auto* memo = qobject_cast<QPlainTextEdit*>(widget);
        const bool edits = (edit && !edit->isReadOnly()) || (memo && !memo->isReadOnly()) ||
                           qobject_cast<QCheckBox*>(widget);
        // Qt's own inner parts ("qt_…") are not controls of the forms.
        if (edits && !widget->objectName().startsWith(QLatin1String("qt_")) &&
            !bound.contains(widget->objectName()))
            unbound << widget->objectName();
    }
    EXPECT_EQ(unbound, QStringList());
    (void)window;
}

} // namespace
} // namespace lintaro
