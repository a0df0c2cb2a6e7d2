// A card's effect spelled out in words.
#include "effect_sentence.h"

#include "card_text.h"
#include "rules/catalogue.h"

#include <charconv>
#include <optional>
#include <string_view>
#include <vector>

namespace velkaran {
namespace {

// A code of the card texts: its prefix and how it reads, with N for the amount.
struct TCode {
    std::string_view Prefix;
    std::string_view Before;
    std::string_view After;
};

constexpr TCode Codes[] = {
    {"->", "атака силой ", " (её сначала принимает щит соперника, остаток получает база)"},
    {"<-", "удар по себе силой ", " (сначала по своему щиту, остаток по своей базе)"},
    {"SS+", "ваш щит +", ""},
    {"SB+", "ваша база +", ""},
    {"Base-", "база соперника −", " (щит её не защищает)"},
    {"Shield-", "щит соперника −", ""},
    {"En+", "энергия +", ""},
    {"Me+", "металл +", ""},
    {"El+", "электроэлементы +", ""},
    {"Батареи+", "батареи +", ""},
    {"Рудники+", "рудники +", ""},
    {"Лаборатории+", "лаборатории +", ""},
};

// Cards whose catalogue text does not tell what the card does; their sentence follows the rules.
struct TTold {
    int32_t Card;
    std::string_view Sentence;
};

constexpr TTold Corrections[] = {
    {26,
     "Тратит до 7 ед. своего щита и атакует соперника силой 1 + 2 × (потраченные ед. щита), то есть "
     "не больше 15; эту атаку сначала принимает щит соперника, остаток получает база."},
    {49,
     "Если щит соперника не меньше 10, то база соперника −10 (щит остаётся прежним), иначе похищение "
     "до 20 электроэлементов у соперника."},
};

// Part as words when it is a code followed by a whole number, e.g. "SB+9" -> "база +9".
std::optional<std::string> CodeWords(std::string_view Part) {
    for (const TCode &Code : Codes) {
        if (!Part.starts_with(Code.Prefix)) continue;
        const std::string_view Amount = Part.substr(Code.Prefix.size());
        int32_t Value = 0;
        const auto [End, Error] = std::from_chars(Amount.data(), Amount.data() + Amount.size(), Value);
        if (Amount.empty() || Error != std::errc() || End != Amount.data() + Amount.size())
            return std::nullopt;
        return std::string(Code.Before) + std::string(Amount) + std::string(Code.After);
    }
    return std::nullopt;
}

// Part with a code spelled out, alone ("SB+9") or closing a clause ("то Base-11"); else unchanged.
std::string PartWords(std::string_view Part) {
    if (auto Words = CodeWords(Part)) return *Words;
    const std::size_t Space = Part.rfind(' ');
    if (Space != std::string_view::npos)
        if (auto Words = CodeWords(Part.substr(Space + 1)))
            return std::string(Part.substr(0, Space + 1)) + *Words;
    return std::string(Part);
}

std::vector<std::string_view> Split(std::string_view Text, std::string_view Separator) {
    std::vector<std::string_view> Parts;
    for (std::size_t Start = 0;;) {
        const std::size_t Stop = Text.find(Separator, Start);
        Parts.push_back(
            Text.substr(Start, Stop == std::string_view::npos ? std::string_view::npos : Stop - Start));
        if (Stop == std::string_view::npos) return Parts;
        Start = Stop + Separator.size();
    }
}

// Makes the first letter of Text upper case (Latin, or a two-byte Cyrillic letter of UTF-8).
void Capitalise(std::string &Text) {
    if (Text.empty()) return;
    const auto First = static_cast<unsigned char>(Text[0]);
    if (First >= 'a' && First <= 'z') {
        Text[0] = static_cast<char>(First - 'a' + 'A');
    } else if (Text.size() >= 2) {
        const auto Second = static_cast<unsigned char>(Text[1]);
        if (First == 0xD0 && Second >= 0xB0 && Second <= 0xBF) {  // а..п -> А..П
            Text[1] = static_cast<char>(Second - 0x20);
        } else if (First == 0xD1 && Second >= 0x80 && Second <= 0x8F) {  // р..я -> Р..Я
            Text[0] = static_cast<char>(0xD0);
            Text[1] = static_cast<char>(Second + 0x20);
        } else if (First == 0xD1 && Second == 0x91) {  // ё -> Ё
            Text[0] = static_cast<char>(0xD0);
            Text[1] = static_cast<char>(0x81);
        }
    }
}

}  // namespace

std::string EffectSentence(int32_t Card) {
    if (!IsCardNumber(Card)) return {};
    for (const TTold &Told : Corrections)
        if (Told.Card == Card) return std::string(Told.Sentence);
    const std::string Effect = CardEffect(Card);
    std::string Sentence;
    for (std::string_view Part : Split(Effect, ", ")) {
        if (!Sentence.empty()) Sentence += ", ";
        Sentence += PartWords(Part);
    }
    Capitalise(Sentence);
    if (!Sentence.empty() && Sentence.back() != '.') Sentence += '.';
    return Sentence;
}

}  // namespace velkaran
