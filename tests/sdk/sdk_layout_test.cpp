// The SDK header as C++ sees it: its layout checks hold (they fail the build otherwise) and the
// exports have exactly the entry-point types the host calls.
#include <velkaran/bot.h>

#include <type_traits>

static_assert(std::is_same_v<decltype(&StartGame), TStartGameProc>,
              "StartGame has the type of TStartGameProc");
static_assert(std::is_same_v<decltype(&GetTurn), TGetTurnProc>, "GetTurn has the type of TGetTurnProc");
static_assert(std::is_trivially_copyable_v<TTurnInfo> && std::is_standard_layout_v<TTurnInfo>);
static_assert(std::is_trivially_copyable_v<TGameView> && std::is_standard_layout_v<TGameView>);
static_assert(std::is_trivially_copyable_v<TCardList> && std::is_standard_layout_v<TCardList>);
static_assert(CardSetSize * sizeof(int32_t) == sizeof(TCardList));
