// How a card's cost reads on screen.
#include "card_cost_text.h"

#include "rules/affordability.h"

#include <string_view>

namespace velkaran {
namespace {

void AppendPart(std::string &Text, std::string_view Separator, std::string_view Name, int64_t Amount) {
    if (!Text.empty()) Text += Separator;
    Text += Name;
    Text += ' ';
    Text += std::to_string(Amount);
}

}  // namespace

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
