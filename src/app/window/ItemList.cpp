#include "app/window/ItemList.h"

#include "app/window/EditLook.h"
#include "app/window/FittedText.h"
#include "foundation/DataComponentList.h"

#include <QEvent>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace lintaro {

namespace {

const QColor kCellColour(255, 242, 203);
const QColor kCellBorderColour(153, 153, 153);

} // namespace

int TItemListModel::rowCount(const QModelIndex& parent) const {
    const TDataComponentList* list = List();
    return parent.isValid() || !list ? 0 : list->ItemCount();
}

QVariant TItemListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !ItemAt(index.row()))
        return {};
    return ItemAt(index.row())->Caption();
}

TDataComponent* TItemListModel::ItemAt(int row) const {
    const TDataComponentList* list = List();
    return list && row >= 0 && row < list->ItemCount() ? list->Item(row) : nullptr;
}

void TItemListModel::Rebuild() {
    beginResetModel();
    endResetModel();
}

void TItemListModel::RowChanged(int row) {
    emit dataChanged(index(row), index(row));
}

TItemRowDelegate::TItemRowDelegate(TItemList& list) : QStyledItemDelegate(&list), list_(list) {}

void TItemRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const TDataComponent* item = list_.Model().ItemAt(index.row());
    const TDataComponentList* data = list_.List();
    // The focused row is covered by the editor.
    if (!item || (data && data->ItemFocused() == item && list_.Panel()->isVisible()))
        return;
    const bool filled = list_.HasContent(item);
    const int panelLeft = list_.Panel()->x() - list_.View()->x() - list_.View()->viewport()->x();
    painter->save();
    bool first = true;
    for (const TItemColumn& column : list_.Columns()) {
        if (column.field->isHidden())
            continue;
        const int width = column.width > 0 ? column.width : column.field->width();
        const QRect cell(panelLeft + column.field->x(), option.rect.top(), width - 1,
                         option.rect.height() - 2);
        painter->fillRect(cell, kCellColour);
        painter->setPen(kCellBorderColour);
        painter->drawRect(cell);
        QString text = column.property.isEmpty() ? QString() : item->GetPropAsString(column.property);
        if (first && !filled && !list_.Placeholder().isEmpty())
            text = list_.Placeholder();
        painter->setPen(filled ? kFilledTextColour : kPlaceholderColour);
        const QRect textArea = cell.adjusted(3, 0, -3, 0);
        DrawFittedText(*painter, textArea, int(column.alignment | Qt::AlignVCenter), text, Qt::ElideRight);
        first = false;
    }
    painter->restore();
}

QSize TItemRowDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return {list_.View()->viewport()->width(), list_.RowHeight()};
}

TItemList::TItemList(QListView* view, QWidget* panel, std::vector<TItemColumn> columns,
                     std::function<TDataComponentList*()> list,
                     std::function<bool(const TDataComponent*)> hasContent, int maxHeight)
    : QObject(view), view_(view), panel_(panel), columns_(std::move(columns)), model_(this), delegate_(*this),
      hasContent_(std::move(hasContent)), maxHeight_(maxHeight), designHeight_(view->height()) {
    model_.SetList(std::move(list));
    view_->setModel(&model_);
    view_->setItemDelegate(&delegate_);
    view_->setUniformItemSizes(true);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setFrameShape(QFrame::Box);
    view_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A list without a height limit always shows all its rows.
    if (maxHeight_ <= 0)
        view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport_ = view_->viewport();
    viewport_->installEventFilter(this);
    connect(view_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { placePanel(); });
    connect(view_, &QListView::clicked, this, [this](const QModelIndex& index) { FocusRow(index.row()); });
    panel_->raise();
    collectFollowers();
}

void TItemList::collectFollowers() {
    const QRect list = view_->geometry();
    for (QWidget* sibling : view_->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (sibling->objectName().startsWith(QLatin1String("ImageBB"))) {
            banner_ = sibling;
            continue;
        }
        if (sibling != panel_ && sibling->y() > list.bottom() && sibling->x() < list.right()) {
            followers_.emplace_back(sibling, sibling->y());
            followerSpan_ = std::max(followerSpan_, sibling->geometry().bottom() - list.bottom());
        }
    }
}

int TItemList::RowHeight() const {
    return columns_.empty() ? 23 : columns_.front().field->height() + 2;
}

int TItemList::ColumnOf(const QObject* field) const {
    for (size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].field == field)
            return static_cast<int>(i);
    return -1;
}

bool TItemList::Concerns(const TDataComponent* source) const {
    const TDataComponentList* list = List();
    return list && source && (source == list || list->ItemIsChild(source));
}

void TItemList::FitInto(int pageHeight) {
    if (maxHeight_ <= 0)
        return;
    const int frame = 2 * std::max(1, view_->frameWidth());
    maxHeight_ = std::max(3 * RowHeight() + frame, pageHeight - view_->y() - followerSpan_ - 4);
    resizeView();
    placePanel();
}

void TItemList::Rebuild() {
    model_.Rebuild();
    resizeView();
    ShowFocused();
}

void TItemList::resizeView() {
    const int rows = model_.rowCount();
    // The rows plus the list's frame, so that every row shows without a scroll bar.
    const int frame = 2 * std::max(1, view_->frameWidth());
    int height = rows * RowHeight() + frame;
    if (maxHeight_ > 0)
        height = std::min(height, maxHeight_);
    height = std::max(height, RowHeight() + frame);
    view_->resize(view_->width(), height);
    const int shift = height - designHeight_;
    int bottom = view_->geometry().bottom();
    for (const auto& [follower, designY] : followers_)
        if (follower) {
            follower->move(follower->x(), designY + shift);
            bottom = std::max(bottom, follower->geometry().bottom());
        }
    if (banner_)
        banner_->setVisible(bottom + 5 < banner_->y());
}

void TItemList::SetFollowerDesignY(QWidget* follower, int designY) {
    for (auto& [widget, y] : followers_)
        if (widget == follower)
            y = designY;
    resizeView();
}

void TItemList::ShowFocused() {
    const TDataComponentList* list = List();
    const int row = list && list->ItemFocused() ? list->IndexOf(list->ItemFocused()) : -1;
    if (row < 0) {
        panel_->hide();
        view_->clearSelection();
        return;
    }
    view_->setCurrentIndex(model_.index(row));
    view_->scrollTo(model_.index(row));
    placePanel();
}

void TItemList::placePanel() {
    const TDataComponentList* list = List();
    const int row = list && list->ItemFocused() ? list->IndexOf(list->ItemFocused()) : -1;
    const QRect rect = row < 0 ? QRect() : view_->visualRect(model_.index(row));
    if (row < 0 || !rect.isValid() || rect.bottom() > view_->viewport()->height() + 1) {
        panel_->hide();
        return;
    }
    const QPoint topLeft = view_->viewport()->mapTo(view_->parentWidget(), rect.topLeft());
    panel_->move(panel_->x(), topLeft.y());
    panel_->show();
    panel_->raise();
    view_->viewport()->update();
}

void TItemList::FocusRow(int row) {
    TDataComponentList* list = List();
    if (TDataComponent* item = model_.ItemAt(row); list && item)
        list->SetItemFocused(item);
}

QWidget* TItemList::fieldAtX(int x) const {
    const int panelLeft = panel_->x() - view_->x() - viewport_->x();
    for (const TItemColumn& column : columns_) {
        if (column.field->isHidden())
            continue;
        const int left = panelLeft + column.field->x();
        const int width = column.width > 0 ? column.width : column.field->width();
        if (x >= left && x < left + width)
            return column.field;
    }
    return nullptr;
}

QWidget* TItemList::TakeClickedField() {
    QWidget* field = clickedField_;
    clickedField_ = nullptr;
    return field;
}

bool TItemList::eventFilter(QObject* watched, QEvent* event) {
    // The cell the user clicks is the field that gets the focus once the row is in the editor.
    if (event->type() == QEvent::MouseButtonPress && watched == viewport_)
        clickedField_ = fieldAtX(static_cast<QMouseEvent*>(event)->position().toPoint().x());
    // Compared with the stored pointer: while the list view is being destroyed its children still
    // send events here, and nothing of the half-destroyed view may be called then.
    if (event->type() == QEvent::Resize && watched == viewport_)
        placePanel();
    return QObject::eventFilter(watched, event);
}

} // namespace lintaro
