// The cards in words, read from the catalogue texts.
#include "card_words.h"

#include "rules/catalogue.h"

#include <charconv>
#include <optional>
#include <string_view>
#include <vector>

namespace velkaran {
namespace {

enum class TLanguage { Russian, English };

// Text in the language asked for.
struct TWords {
    std::string_view Russian;
    std::string_view English;
    std::string_view In(TLanguage Language) const {
        return Language == TLanguage::Russian ? Russian : English;
    }
};

// A code of the card texts: its prefix and how it reads, before and after the amount.
struct TCode {
    std::string_view Prefix;
    TWords Before;
    TWords After;
};

constexpr TCode Codes[] = {
    {"->",
     {"атака силой ", "attack of strength "},
     {" (её сначала принимает щит соперника, остаток получает база)", " (shield first, then base)"}},
    {"<-",
     {"удар по себе силой ", "an attack of strength "},
     {" (сначала по своему щиту, остаток по своей базе)",
      " on yourself (your shield first, then your base)"}},
    {"SS+", {"ваш щит +", "your shield +"}, {"", ""}},
    {"SB+", {"ваша база +", "your base +"}, {"", ""}},
    {"Base-", {"база соперника −", "the opponent's base −"}, {" (щит её не защищает)", " (past the shield)"}},
    {"Shield-", {"щит соперника −", "the opponent's shield −"}, {"", " (not below 0)"}},
    {"En+", {"энергия +", "energy +"}, {"", ""}},
    {"Me+", {"металл +", "metal +"}, {"", ""}},
    {"El+", {"электроэлементы +", "electro-elements +"}, {"", ""}},
    {"Батареи+", {"батареи +", "batteries +"}, {"", ""}},
    {"Рудники+", {"рудники +", "mines +"}, {"", ""}},
    {"Лаборатории+", {"лаборатории +", "laboratories +"}, {"", ""}},
};

// A card whose catalogue text is not made of codes alone, or says less than the card does: its
// sentence as the card plays. An empty Russian sentence keeps the catalogue's own words.
struct TTold {
    int32_t Card;
    TWords Sentence;
};

constexpr TTold Told[] = {
    {19,
     {"",
      "Turns shield into base at 2:1, using at most 6 shield points: with your shield at 6 or more, your "
      "shield −6 and your base +12; otherwise your base + 2 × your shield, and your shield becomes 0."}},
    {26,
     {"Тратит до 7 ед. своего щита и атакует соперника силой 1 + 2 × (потраченные ед. щита), то есть не "
      "больше 15; эту атаку сначала принимает щит соперника, остаток получает база.",
      "Spends up to 7 points of your own shield and attacks with strength 1 + 2 × (points spent), so at "
      "most 15 (shield first, then base)."}},
    {27, {"", "If the opponent's shield is 0, the opponent's base −11; otherwise nothing happens."}},
    {38, {"", "Converts up to 18 metal into electro-elements, each 1 metal giving 2 electro-elements."}},
    {39, {"", "Converts up to 15 electro-elements into metal, one for one."}},
    {40, {"", "Converts up to 18 metal into electro-elements, one for one."}},
    {41, {"", "Steals up to 5 metal from the opponent."}},
    {42, {"", "Steals up to 5 electro-elements from the opponent."}},
    {43,
     {"",
      "If the opponent's shield is 7 or more, it loses 7 and that is all; otherwise it becomes 0 and you "
      "steal up to 5 energy from the opponent."}},
    {44, {"", "If the opponent has more than 2 mines, it loses 1 mine; otherwise nothing happens."}},
    {45, {"", "If the opponent has more than 3 batteries, it loses 1 battery; otherwise nothing happens."}},
    {46,
     {"",
      "Attack of strength 15 (shield first, then base); the shield points it destroys, up to 15, become "
      "your energy."}},
    {47,
     {"",
      "If the opponent's shield is 15 or more, it loses 15 and up to 20 of the opponent's metal are "
      "destroyed; otherwise the shield becomes 0 and you steal up to 20 metal from the opponent. The base "
      "is not touched."}},
    {48,
     {"",
      "The opponent's base −15 (past the shield); then, if the opponent's shield is 15 or more, up to 22 of "
      "the opponent's energy are destroyed, otherwise you steal up to 22 energy. The shield keeps its "
      "value."}},
    {49,
     {"Если щит соперника не меньше 10, то база соперника −10 (щит остаётся прежним), иначе похищение до "
      "20 электроэлементов у соперника.",
      "If the opponent's shield is 10 or more, the opponent's base −10 (the shield keeps its value); "
      "otherwise you steal up to 20 electro-elements from the opponent."}},
};

// English names of the card families, as the Russian titles spell them.
constexpr std::pair<std::string_view, std::string_view> Families[] = {
    {"Атака2", "Attack2"},          {"Атака", "Attack"},
    {"Ремонт", "Repair"},           {"СпецАтака", "Special attack"},
    {"СуперАтака", "Super attack"}, {"Развитие", "Development"},
    {"Шпионаж", "Espionage"},       {"Пропуск хода", "Pass"},
};

// The text of a card after its title: the costs, a colon and the effect (card 50: only the effect).
std::string_view AfterTitle(int32_t Card, std::size_t &TitleLength) {
    const std::string_view Text = CardDescriptions[Card];
    const std::size_t Close = Text.find(')');
    const std::size_t Stop = Text.find(". ", Close == std::string_view::npos ? 0 : Close);
    if (Stop == std::string_view::npos) {
        TitleLength = Text.size();
        return {};
    }
    TitleLength = Stop;
    return Text.substr(Stop + 2);
}

std::string_view Trimmed(std::string_view Text) {
    while (!Text.empty() && Text.front() == ' ') Text.remove_prefix(1);
    while (!Text.empty() && Text.back() == ' ') Text.remove_suffix(1);
    return Text;
}

// Part as words when it is a code followed by a whole number, e.g. "SB+9" -> "ваша база +9".
std::optional<std::string> CodeWords(std::string_view Part, TLanguage Language) {
    for (const TCode &Code : Codes) {
        if (!Part.starts_with(Code.Prefix)) continue;
        const std::string_view Amount = Part.substr(Code.Prefix.size());
        int32_t Value = 0;
        const auto [End, Error] = std::from_chars(Amount.data(), Amount.data() + Amount.size(), Value);
        if (Amount.empty() || Error != std::errc() || End != Amount.data() + Amount.size())
            return std::nullopt;
        return std::string(Code.Before.In(Language)) + std::string(Amount) +
               std::string(Code.After.In(Language));
    }
    return std::nullopt;
}

// Part with a code spelled out, alone ("SB+9") or closing a clause ("то Base-11"); else unchanged.
std::string PartWords(std::string_view Part) {
    if (auto Words = CodeWords(Part, TLanguage::Russian)) return *Words;
    const std::size_t Space = Part.rfind(' ');
    if (Space != std::string_view::npos)
        if (auto Words = CodeWords(Part.substr(Space + 1), TLanguage::Russian))
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

// The parts of a sentence joined, its first letter capital, a full stop at its end.
std::string Sentence(const std::vector<std::string> &Parts) {
    std::string Text;
    for (const std::string &Part : Parts) {
        if (!Text.empty()) Text += ", ";
        Text += Part;
    }
    Capitalise(Text);
    if (!Text.empty() && Text.back() != '.') Text += '.';
    return Text;
}

const TTold *ToldOf(int32_t Card) {
    for (const TTold &Entry : Told)
        if (Entry.Card == Card) return &Entry;
    return nullptr;
}

}  // namespace

std::string CardTitle(int32_t Card) {
    if (!IsCardNumber(Card)) return "(" + std::to_string(Card) + ")";
    std::size_t TitleLength = 0;
    AfterTitle(Card, TitleLength);
    return std::string(CardDescriptions[Card].substr(0, TitleLength));
}

std::string CardName(int32_t Card) {
    if (!IsCardNumber(Card)) return {};
    const std::string Title = CardTitle(Card);
    const std::size_t Close = Title.find(") ");
    return Close == std::string::npos ? Title : Title.substr(Close + 2);
}

std::string EnglishCardName(int32_t Card) {
    const std::string Name = CardName(Card);
    for (const auto &[Russian, English] : Families)
        if (std::string_view(Name).starts_with(Russian))
            return std::string(English) + Name.substr(Russian.size());
    return Name;
}

std::string CardEffect(int32_t Card) {
    if (!IsCardNumber(Card)) return {};
    std::size_t TitleLength = 0;
    const std::string_view Rest = AfterTitle(Card, TitleLength);
    const std::size_t Colon = Rest.find(':');
    return std::string(Trimmed(Colon == std::string_view::npos ? Rest : Rest.substr(Colon + 1)));
}

std::string EffectSentence(int32_t Card) {
    if (!IsCardNumber(Card)) return {};
    if (const TTold *Entry = ToldOf(Card); Entry != nullptr && !Entry->Sentence.Russian.empty())
        return std::string(Entry->Sentence.Russian);
    const std::string Effect = CardEffect(Card);
    std::vector<std::string> Parts;
    for (std::string_view Part : Split(Effect, ", ")) Parts.push_back(PartWords(Part));
    return Sentence(Parts);
}

std::string EnglishEffectSentence(int32_t Card) {
    if (!IsCardNumber(Card)) return {};
    if (const TTold *Entry = ToldOf(Card)) return std::string(Entry->Sentence.English);
    const std::string Effect = CardEffect(Card);
    std::vector<std::string> Parts;
    for (std::string_view Part : Split(Effect, ", ")) {
        auto Words = CodeWords(Part, TLanguage::English);
        // Every part of a card that is not told above is a code; a new card text without one shows
        // its own words rather than nothing.
        Parts.push_back(Words ? *Words : std::string(Part));
    }
    return Sentence(Parts);
}

}  // namespace velkaran
