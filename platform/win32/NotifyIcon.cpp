#include "NotifyIcon.h"

#include "../../splash/NotifyIconData.h"
#include "../ErrorReport.h"
#include "Api.h"

namespace zavi {
namespace {

// Handles are 32 bits wide in the record on every Windows; see API::Shell_NotifyIconA.
template <class Handle>
std::uint32_t HandleBits(Handle handle) {
    return static_cast<std::uint32_t>(HandleToLong(handle));
}

}  // namespace

NotifyIcon::NotifyIcon(const Form& owner, const NotifyIconDefinition& definition,
                       const std::string& tip)
    : m_window(owner.hWnd()), m_id(definition.id) {
    const NotifyIconData record =
        BuildNotifyIconData(HandleBits(m_window), definition.id, definition.flags,
                            definition.callbackMessage, HandleBits(owner.Icon()), tip);
    m_added = API::Shell_NotifyIconA(kNimAdd, record) != FALSE;
}

// The icon goes with its window: a dead icon would stay in the notification area until
// the user moved the mouse over it.
NotifyIcon::~NotifyIcon() {
    if (!m_added) {
        return;
    }
    RunTrapped([this] {
        API::Shell_NotifyIconA(kNimDelete,
                               BuildNotifyIconData(HandleBits(m_window), m_id, 0, 0, 0, ""));
    });
}

}  // namespace zavi
