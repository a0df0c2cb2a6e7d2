// Qt's own texts (the buttons and questions of its dialogs) in Russian, like the program's.
#pragma once

namespace velkaran {

// Loads Qt's Russian translation (qtbase_ru from Qt's translations folder) into the running
// application, which owns it from then on. False when it is not installed; Qt's texts then stay
// in English.
bool InstallQtTranslations();

}  // namespace velkaran
