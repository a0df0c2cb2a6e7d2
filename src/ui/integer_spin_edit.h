// An integer field with up and down arrows, a step and optional limits.
#pragma once

#include <QSpinBox>

#include <cstdint>

namespace velkaran {

// Arrows add or subtract the step; with limits, the value is brought into the range when an
// arrow is used and when the field loses the focus. A text that is not an integer reads as the
// lower limit. MinValue and MaxValue both 0 mean no limits: any 32-bit integer, negative ones too.
// Only digits, the signs and the locale's decimal separator can be typed.
class TIntegerSpinEdit : public QSpinBox {
public:
    TIntegerSpinEdit(int32_t MinValue, int32_t MaxValue, int32_t Increment, int32_t Value,
                     QWidget *Parent = nullptr);

    // The value the field's text stands for now, in range; also corrects the shown text.
    int32_t Value();

    // The value a text stands for before the limits apply: the integer, or the lower limit.
    int32_t ValueOfText(const QString &Text) const;

protected:
    QValidator::State validate(QString &Input, int &Position) const override;
    int valueFromText(const QString &Text) const override;
    QString textFromValue(int Value) const override;
    // An arrow starts from the value of the text as it stands, then the limits apply.
    void stepBy(int Steps) override;
    // Both arrows always work; the limits are applied to the result.
    StepEnabled stepEnabled() const override;

private:
    int32_t LowerLimit;  // 0 when the field has no limits
};

}  // namespace velkaran
