// What the program keeps of the listener's choices, in the user's own settings: the volume
// and mute, written only when the listener changes one; and whether the program starts at
// login, which is the desktop's own entry for it (Linux: an XDG autostart entry in the
// user's folder, never a system-wide one; Windows: the user's Run key).
#pragma once

namespace zavi {

struct Listening {
    int volume = 100;  // per cent
    bool muted = false;
};

Listening LoadListening();
void SaveListening(const Listening& listening);

bool StartsAtLogin();
void SetStartAtLogin(bool start);

}  // namespace zavi
