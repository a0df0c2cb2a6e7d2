// How a card reads on screen.
#include "card_text.h"

#include "rules/affordability.h"

#include <string_view>

namespace velkaran {
namespace {

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

void AppendPart(std::string &Text, std::string_view Separator, std::string_view Name, int64_t Amount) {
    if (!Text.empty()) Text += Separator;
    Text += Name;
    Text += ' ';
    Text += std::to_string(Amount);
}

}  // namespace

std::string CardTitle(int32_t Card) {
    if (!IsCardNumber(Card)) return "(" + std::to_string(Card) + ")";
    std::size_t TitleLength = 0;
    AfterTitle(Card, TitleLength);
    return std::string(CardDescriptions[Card].substr(0, TitleLength));
}

std::string CardEffect(int32_t Card) {
    if (!IsCardNumber(Card)) return {};
    std::size_t TitleLength = 0;
    const std::string_view Rest = AfterTitle(Card, TitleLength);
    const std::size_t Colon = Rest.find(':');
    return std::string(Trimmed(Colon == std::string_view::npos ? Rest : Rest.substr(Colon + 1)));
}

std::string CostText(const TCardCost &Cost) {
    std::string Text;
    if (Cost.Energy != 0) AppendPart(Text, " · ", "En", Cost.Energy);
    if (Cost.Metal != 0) AppendPart(Text, " · ", "Me", Cost.Metal);
    if (Cost.Elements != 0) AppendPart(Text, " · ", "El", Cost.Elements);
    return Text.empty() ? "Бесплатно" : Text;
}

std::string ShortfallText(const TCardCost &Cost, const TPlayerStatus &Status) {
    const TShortfall Lacking = Shortfall(Status, Cost);
    std::string Missing;
    if (Lacking.Energy > 0) AppendPart(Missing, ", ", "En", Lacking.Energy);
    if (Lacking.Metal > 0) AppendPart(Missing, ", ", "Me", Lacking.Metal);
    if (Lacking.Elements > 0) AppendPart(Missing, ", ", "El", Lacking.Elements);
    return Missing.empty() ? std::string() : "Не хватает: " + Missing;
}

}  // namespace velkaran
