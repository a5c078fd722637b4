#include "app/radio_group.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

TRadioGroup::TRadioGroup(QWidget* parent)
    : QGroupBox(parent), FButtons(new QButtonGroup(this)), FGrid(new QGridLayout(this))
{
    FGrid->setContentsMargins(6, 2, 6, 2);
    FGrid->setVerticalSpacing(0);
}

int TRadioGroup::ItemIndex() const
{
    return FButtons->checkedId();
}

void TRadioGroup::setItems(const QStringList& items)
{
    if (items == FItems)
        return;
    FItems = items;
    Rebuild();
}

void TRadioGroup::setColumns(int columns)
{
    columns = std::max(1, columns);
    if (columns == FColumns)
        return;
    FColumns = columns;
    const int selected = ItemIndex();
    Rebuild();
    setItemIndex(selected);
}

void TRadioGroup::setItemIndex(int index)
{
    if (QAbstractButton* button = FButtons->button(index)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group cannot uncheck its checked button directly.
    FButtons->setExclusive(false);
    for (QAbstractButton* button : FButtons->buttons())
        button->setChecked(false);
    FButtons->setExclusive(true);
}

void TRadioGroup::Rebuild()
{
    for (QAbstractButton* button : FButtons->buttons()) {
        FButtons->removeButton(button);
        delete button;
    }
    const int perColumn = (static_cast<int>(FItems.size()) + FColumns - 1) / FColumns;
    for (int i = 0; i < FItems.size(); ++i) {
        auto* button = new QRadioButton(FItems[i], this);
        FButtons->addButton(button, i);
        FGrid->addWidget(button, i % perColumn, i / perColumn);
    }
}
