#pragma once
// A framed group of radio buttons whose items and number of columns can change at run time.
// Items fill the columns top to bottom, then left to right.

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QGridLayout;

class TRadioGroup : public QGroupBox {
    Q_OBJECT
    Q_PROPERTY(QStringList items READ Items WRITE setItems)
    Q_PROPERTY(int columns READ Columns WRITE setColumns)
    Q_PROPERTY(int itemIndex READ ItemIndex WRITE setItemIndex)
public:
    explicit TRadioGroup(QWidget* parent = nullptr);

    QStringList Items() const { return FItems; }
    int Columns() const { return FColumns; }
    int ItemIndex() const; // -1 when nothing is selected

    // Setter names follow Qt's pattern so that Designer forms can set them.
    void setItems(const QStringList& items); // clears the selection when the items change
    void setColumns(int columns);
    void setItemIndex(int index);            // out of range: nothing selected

private:
    void Rebuild();

    QStringList FItems;
    int FColumns = 1;
    QButtonGroup* FButtons;
    QGridLayout* FGrid;
};
