// The card catalogue: the cost and description columns of the card rows.
#include "catalogue.h"

#include "card_rows.h"

namespace velkaran {
namespace {

template <typename T, typename Field>
constexpr CardTable<T> Column(Field Pick) {
    CardTable<T> Table{};
    for (const TCardRow &Row : CardRows) Table[Row.Card] = Pick(Row);
    return Table;
}

}  // namespace

constexpr CardTable<TCardCost> CardCosts = Column<TCardCost>([](const TCardRow &Row) { return Row.Cost; });

constexpr CardTable<std::string_view> CardDescriptions =
    Column<std::string_view>([](const TCardRow &Row) { return Row.Description; });

}  // namespace velkaran
