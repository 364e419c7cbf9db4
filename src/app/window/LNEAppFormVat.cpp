// The VAT controls of the main window: the order's and the material's VAT boxes, the supplier's
// not-a-VAT-payer box, and the controls a supplier who pays no VAT does not need.
#include "app/window/ItemList.h"
#include "app/window/LNEAppForm.h"
#include "foundation/Program.h"
#include "model/Address.h"
#include "model/ApplicationLinks.h"
#include "model/Material.h"
#include "model/Order.h"
#include "model/Setup.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QVariant>

namespace lintaro {

namespace {

// The amount field of an order item, beside the rate field or in its place.
constexpr int kAmountWidth = 42;
constexpr int kAmountWidthWithoutRate = 74;

} // namespace

void TLNEAppForm::bindVATBoxes() {
    // The three VAT boxes are rows of the binding table.
    // Where the rate field and the totals stand in the form.
    vatDesign_.amountX = control<QWidget>(QStringLiteral("EditOrderItemAmount"))->x();
    vatDesign_.amountLabelX = control<QWidget>(QStringLiteral("LabelOrderItemsAmount"))->x();
    vatDesign_.totalwoVATY = control<QWidget>(QStringLiteral("EditOrderPriceTotalwoVAT"))->y();
    vatDesign_.totalwVATY = control<QWidget>(QStringLiteral("EditOrderPriceTotalwVAT"))->y();
}

void TLNEAppForm::updateVATControls() {
    const bool payer = !TApplicationLinks::Setup()->Supplier()->IsNotVATPayer();
    for (const char* name :
         {"EditOrderItemVATRate", "LabelOrderItemsVATRate", "CBOrderVATMode", "EditOrderPriceTotalwoVAT",
          "LabelOrderPriceTotalwoVAT", "EditMaterialVATRate", "CBMaterialPriceIsWithVAT"})
        if (QWidget* widget = control<QWidget>(QLatin1String(name)))
            widget->setVisible(payer);
    QWidget* rate = control<QWidget>(QStringLiteral("EditOrderItemVATRate"));
    QWidget* amount = control<QWidget>(QStringLiteral("EditOrderItemAmount"));
    amount->setGeometry(payer ? vatDesign_.amountX : rate->x(), amount->y(),
                        payer ? kAmountWidth : kAmountWidthWithoutRate, amount->height());
    QWidget* amountLabel = control<QWidget>(QStringLiteral("LabelOrderItemsAmount"));
    amountLabel->move(payer ? vatDesign_.amountLabelX
                            : control<QWidget>(QStringLiteral("LabelOrderItemsVATRate"))->x(),
                      amountLabel->y());
    // The total with VAT moves up into the place of the one without.
    const int totalY = payer ? vatDesign_.totalwVATY : vatDesign_.totalwoVATY;
    for (const char* name : {"EditOrderPriceTotalwVAT", "LabelOrderPriceTotalwVAT"})
        itemsList_->SetFollowerDesignY(control<QWidget>(QLatin1String(name)), totalY);
    itemsList_->View()->viewport()->update();

    const QString order = QStringLiteral("Order");
    // A column label longer than its column is shortened; its hint gives it whole.
    const auto label = [this](const char* name, const QString& text) {
        auto* caption = control<QLabel>(QLatin1String(name));
        // Column labels wrap onto their second line; only what does not fit even then is cut.
        const QRect needed =
            caption->fontMetrics().boundingRect(QRect(0, 0, caption->width(), 1000), Qt::TextWordWrap, text);
        const QString shown = caption->wordWrap() && needed.height() <= caption->height()
                                  ? text
                                  : caption->fontMetrics().elidedText(text, Qt::ElideRight, caption->width());
        if (!caption->property("hint").isValid())
            caption->setProperty("hint", caption->toolTip());
        const QString hint = caption->property("hint").toString();
        caption->setText(shown);
        caption->setToolTip(shown == text ? hint : text + u'\n' + hint);
    };
    if (!payer) {
        label("LabelOrderItemsPrice", GetText(order, QStringLiteral("ItemsPrice")));
        label("LabelOrderItemsPriceTotal", GetText(order, QStringLiteral("ItemsPriceTotal")));
        label("LabelOrderPriceTotalwVAT", GetText(order, QStringLiteral("PriceTotal")));
        return;
    }
    const bool withVAT = order_->VATMode() == vmWithVAT;
    label("LabelOrderPriceTotalwoVAT", GetText(order, QStringLiteral("PriceTotalwoVAT")));
    label("LabelOrderPriceTotalwVAT", GetText(order, QStringLiteral("PriceTotalwVAT")));
    label("LabelOrderItemsPrice",
          GetText(order, withVAT ? QStringLiteral("ItemsPricewVAT") : QStringLiteral("ItemsPricewoVAT")));
    label("LabelOrderItemsPriceTotal", GetText(order, withVAT ? QStringLiteral("ItemsPriceTotalwVAT")
                                                              : QStringLiteral("ItemsPriceTotalwoVAT")));
}

} // namespace lintaro
