#pragma once

namespace qarn::painter {

// Installs the English plural forms of the painter's counting texts ("1 error",
// "2 errors") into the running application; call once, before any translation
// of another language, which then takes precedence. Without it the texts read
// "1 error(s)".
void installPluralForms();

} // namespace qarn::painter
