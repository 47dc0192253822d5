// The program's own words in the user's language (gettext, the "zaviradio" domain). The
// catalogues sit beside the executable in a build (locale/) and in share/locale once
// installed.
#pragma once

namespace zavi {

// Where the catalogues are, said once at start-up.
void BindTranslations();
const char* Translate(const char* text);

}  // namespace zavi
