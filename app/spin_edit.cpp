#include "app/spin_edit.h"

#include <QKeyEvent>
#include <QLineEdit>

TSpinEdit::TSpinEdit(QWidget* parent) : QSpinBox(parent)
{
    lineEdit()->setReadOnly(true);
}

void TSpinEdit::SetWarning(bool warn)
{
    FWarning = warn;
    QPalette colours;
    if (warn)
        colours.setColor(QPalette::Base, Qt::red);
    setPalette(colours);
}

void TSpinEdit::keyPressEvent(QKeyEvent* event)
{
    const bool pageKey = event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown;
    if (pageKey)
        event->accept(); // the owner steps by its own amount
    else
        QSpinBox::keyPressEvent(event);
    emit keyDown(event->key());
}
