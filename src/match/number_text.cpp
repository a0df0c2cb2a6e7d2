// Numbers as the result texts print them.
#include "number_text.h"

#include <cassert>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace velkaran {

std::string FormatGeneral(double Value, const std::string &DecimalSeparator) {
    if (std::isnan(Value)) return "nan";
    if (std::isinf(Value)) return Value < 0 ? "-inf" : "inf";
    if (Value == 0.0) return "0";

    // 15 significant digits as "d.dddddddddddddde+XX", then laid out positionally.
    constexpr int Precision = 15;
    char Buffer[64];
    const auto [End, Error] =
        std::to_chars(Buffer, Buffer + sizeof Buffer, Value, std::chars_format::scientific, Precision - 1);
    assert(Error == std::errc() && "64 characters hold any double in this format");
    const std::string Scientific(Buffer, End);

    const bool Negative = Scientific[0] == '-';
    const std::size_t ExponentAt = Scientific.find('e');
    std::string Digits;
    for (std::size_t I = Negative ? 1 : 0; I < ExponentAt; ++I) {
        if (Scientific[I] != '.') Digits += Scientific[I];
    }
    const int Exponent = std::atoi(Scientific.c_str() + ExponentAt + 1);
    while (Digits.size() > 1 && Digits.back() == '0') Digits.pop_back();

    // Digits holds d1 d2 d3 ...; the decimal point belongs after digit number Exponent + 1.
    const int PointAfter = Exponent + 1;
    const int DigitCount = static_cast<int>(Digits.size());
    std::string Integral;
    std::string Fraction;
    if (PointAfter <= 0) {
        Integral = "0";
        Fraction = std::string(static_cast<std::size_t>(-PointAfter), '0') + Digits;
    } else if (PointAfter >= DigitCount) {
        Integral = Digits + std::string(static_cast<std::size_t>(PointAfter - DigitCount), '0');
    } else {
        Integral = Digits.substr(0, static_cast<std::size_t>(PointAfter));
        Fraction = Digits.substr(static_cast<std::size_t>(PointAfter));
    }
    std::string Text = Negative ? "-" : "";
    Text += Integral;
    if (!Fraction.empty()) Text += DecimalSeparator + Fraction;
    return Text;
}

int TextLength(const std::string &Text) {
    int Length = 0;
    for (const char Byte : Text) {
        if ((static_cast<unsigned char>(Byte) & 0xC0) != 0x80) ++Length;  // not a continuation byte
    }
    return Length;
}

}  // namespace velkaran
