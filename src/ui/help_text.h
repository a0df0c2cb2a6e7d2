// The rules as the help window tells them, composed from the rules and scoring code themselves.
#pragma once

#include <string>

namespace velkaran {

// The help text (UTF-8, simple HTML: headings, paragraphs, lists, tables): the goal, the card
// set, resources and buildings with their starting values, production, shield and base, hidden
// information, the move time limit, how a game and a series are scored, what Elo, its interval and
// LOS mean, bots that are programs, the legend of the codes that the card descriptions use and
// every card with its cost and effect. The numbers come from the rules, the catalogue and the
// scoring code; a fraction is written with DecimalSeparator.
std::string RulesHelpHtml(const std::string &DecimalSeparator);

}  // namespace velkaran
