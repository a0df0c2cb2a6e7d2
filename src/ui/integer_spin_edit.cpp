#include "integer_spin_edit.h"

#include <QLocale>

#include <algorithm>
#include <limits>

namespace velkaran {

TIntegerSpinEdit::TIntegerSpinEdit(int32_t MinValue, int32_t MaxValue, int32_t Increment, int32_t Value,
                                   QWidget *Parent)
    : QSpinBox(Parent), LowerLimit(MinValue) {
    const bool Unlimited = MinValue == 0 && MaxValue == 0;
    if (Unlimited)
        setRange(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
    else
        setRange(MinValue, MaxValue);
    setSingleStep(Increment);
    setValue(Value);
}

int32_t TIntegerSpinEdit::Value() {
    interpretText();
    return value();
}

int32_t TIntegerSpinEdit::ValueOfText(const QString &Text) const {
    bool IsInteger = false;
    const int Parsed = Text.toInt(&IsInteger);
    return IsInteger ? Parsed : LowerLimit;
}

QValidator::State TIntegerSpinEdit::validate(QString &Input, int &) const {
    const QString DecimalPoint = locale().decimalPoint();
    for (const QChar Character : Input) {
        const bool Allowed = (Character >= u'0' && Character <= u'9') || Character == u'+' ||
                             Character == u'-' || DecimalPoint.contains(Character);
        if (!Allowed) return QValidator::Invalid;
    }
    // Every text of allowed characters stands for a value (ValueOfText), so none is refused; an
    // out-of-range text stays as typed until the field loses the focus or an arrow is used.
    return QValidator::Acceptable;
}

int TIntegerSpinEdit::valueFromText(const QString &Text) const { return ValueOfText(Text); }

QString TIntegerSpinEdit::textFromValue(int Value) const { return QString::number(Value); }

void TIntegerSpinEdit::stepBy(int Steps) {
    const int64_t Target = int64_t{ValueOfText(text())} + int64_t{Steps} * singleStep();
    setValue(static_cast<int>(std::clamp<int64_t>(Target, minimum(), maximum())));
}

QAbstractSpinBox::StepEnabled TIntegerSpinEdit::stepEnabled() const {
    return isReadOnly() ? StepNone : (StepUpEnabled | StepDownEnabled);
}

}  // namespace velkaran
