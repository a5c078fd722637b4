#pragma once
// A spin box that cannot be typed into: its value moves by the arrows (step 1) and by the
// owner's handler of Page Up / Page Down, which it reports instead of taking Qt's own step.

#include <QSpinBox>

class TSpinEdit : public QSpinBox {
    Q_OBJECT
public:
    explicit TSpinEdit(QWidget* parent = nullptr);

    // The red background that warns of an impossible scale range.
    void SetWarning(bool warn);
    bool Warning() const { return FWarning; }

signals:
    // Every key pressed in the box, after the box's own handling of it.
    void keyDown(int key);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool FWarning = false;
};
