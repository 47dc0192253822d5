#include "../ListenerSettings.h"

#include <glib.h>
#include <glib/gstdio.h>
#include <unistd.h>

#include <string>

#include "../AppIdentity.h"

namespace zavi {
namespace {

constexpr char kGroup[] = "Listening";

std::string SettingsFile() {
    return std::string(g_get_user_config_dir()) + "/zaviradio/settings.ini";
}

std::string AutostartFile() {
    return std::string(g_get_user_config_dir()) + "/autostart/" + kDesktopId + ".desktop";
}

// This executable, as an Exec line quotes it.
std::string ExecLine() {
    char* path = g_file_read_link("/proc/self/exe", nullptr);
    std::string exec = path != nullptr ? path : "zaviradio";
    g_free(path);
    std::string quoted = "\"";
    for (const char c : exec) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += "\\\\";
        }
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace

Listening LoadListening() {
    Listening listening;
    GKeyFile* file = g_key_file_new();
    if (g_key_file_load_from_file(file, SettingsFile().c_str(), G_KEY_FILE_NONE, nullptr)) {
        GError* error = nullptr;
        const int volume = g_key_file_get_integer(file, kGroup, "Volume", &error);
        if (error == nullptr) {
            listening.volume = volume < 0 ? 0 : volume > 100 ? 100 : volume;
        }
        g_clear_error(&error);
        const gboolean muted = g_key_file_get_boolean(file, kGroup, "Muted", &error);
        if (error == nullptr) {
            listening.muted = muted != FALSE;
        }
        g_clear_error(&error);
    }
    g_key_file_free(file);
    return listening;
}

void SaveListening(const Listening& listening) {
    const std::string path = SettingsFile();
    gchar* folder = g_path_get_dirname(path.c_str());
    g_mkdir_with_parents(folder, 0700);
    g_free(folder);
    GKeyFile* file = g_key_file_new();
    g_key_file_set_integer(file, kGroup, "Volume", listening.volume);
    g_key_file_set_boolean(file, kGroup, "Muted", listening.muted);
    if (!g_key_file_save_to_file(file, path.c_str(), nullptr)) {
        g_warning("The listener's settings could not be written to %s.", path.c_str());
    }
    g_key_file_free(file);
}

bool StartsAtLogin() {
    return g_file_test(AutostartFile().c_str(), G_FILE_TEST_EXISTS);
}

void SetStartAtLogin(bool start) {
    const std::string path = AutostartFile();
    if (!start) {
        g_unlink(path.c_str());
        return;
    }
    gchar* folder = g_path_get_dirname(path.c_str());
    g_mkdir_with_parents(folder, 0700);
    g_free(folder);
    const std::string entry = std::string("[Desktop Entry]\n") +
                              "Type=Application\n"
                              "Name=" +
                              kDisplayName +
                              "\n"
                              "Comment=Listen all the radio and fm stations from Nepal.\n"
                              "Exec=" +
                              ExecLine() +
                              "\n"
                              "Icon=" +
                              kDesktopId +
                              "\n"
                              "Terminal=false\n"
                              "X-GNOME-Autostart-enabled=true\n";
    if (!g_file_set_contents(path.c_str(), entry.c_str(), -1, nullptr)) {
        g_warning("The autostart entry could not be written to %s.", path.c_str());
    }
}

}  // namespace zavi
