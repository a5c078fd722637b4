#include "app/parameter_controls.h"

#include "app/radio_group.h"
#include "data/number_reader.h"
#include "engine/errors.h"
#include "front/parameter_texts.h"
#include "front/regional_format_qt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QSpinBox>

#include <stdexcept>

double ReadWaveletNumber(const QString& text, const RegionalFormat& format)
{
    const std::string bytes = text.toStdString();
    if (std::optional<double> value = ReadNumber(TrimField(bytes), format))
        return *value;
    throw EConvertError("'" + bytes + "' is not a valid floating point value");
}

TParameterControls::TParameterControls(const QWidget& form)
{
    for (const TParamField field : kAllParamFields) {
        const QString name = QString::fromStdString(TextsOf(field).Widget);
        QWidget* control = form.findChild<QWidget*>(name);
        if (!control)
            throw std::logic_error("the form has no control " + name.toStdString());
        FControls.push_back(control);
    }
}

double TParameterControls::Read(TParamField field)
{
    QWidget* control = FControls.at(static_cast<std::size_t>(field));
    if (const auto* spin = qobject_cast<const QSpinBox*>(control))
        return spin->value();
    if (const auto* check = qobject_cast<const QCheckBox*>(control))
        return check->isChecked();
    if (const auto* combo = qobject_cast<const QComboBox*>(control))
        return combo->currentIndex();
    if (const auto* group = qobject_cast<const TRadioGroup*>(control))
        return group->ItemIndex();
    if (const auto* edit = qobject_cast<const QLineEdit*>(control))
        return ReadWaveletNumber(edit->text(), RegionalFormatFromLocale(QLocale::system()));
    throw std::logic_error("no reading for control " + control->objectName().toStdString());
}
