#include "Translations.h"

#include <glib.h>
#include <libintl.h>

#include <filesystem>
#include <system_error>

namespace zavi {
namespace {

constexpr char kDomain[] = "zaviradio";

}  // namespace

void BindTranslations() {
    std::error_code error;
    const std::filesystem::path folder =
        std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
    std::filesystem::path catalogues = folder / "locale";
    if (!std::filesystem::is_directory(catalogues, error)) {
        catalogues = folder.parent_path() / "share" / "locale";
    }
    bindtextdomain(kDomain, catalogues.c_str());
    bind_textdomain_codeset(kDomain, "UTF-8");
}

const char* Translate(const char* text) {
    return g_dgettext(kDomain, text);
}

}  // namespace zavi
