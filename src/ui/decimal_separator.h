// The decimal separator of every number the windows show.
#pragma once

#include <string>

namespace velkaran {

// The decimal separator of the user's locale (the application's default QLocale), e.g. "," in
// ru_RU and "." in C or en_US; every fraction a window shows, and the saved log, is written with it.
std::string LocaleDecimalSeparator();

}  // namespace velkaran
