// The locale's decimal separator, read in one place.
#include "decimal_separator.h"

#include <QLocale>

namespace velkaran {

std::string LocaleDecimalSeparator() { return QLocale().decimalPoint().toStdString(); }

}  // namespace velkaran
