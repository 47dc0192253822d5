// SourceId: the owner of one GLib main-loop source (a timeout, an idle call), removed when
// it is replaced or its owner goes. A callback that returns G_SOURCE_REMOVE says Ended
// first: GLib removes that source itself.
#pragma once

#include <glib.h>

#include <utility>

namespace zavi {

class SourceId {
  public:
    SourceId() = default;
    ~SourceId() { Stop(); }
    SourceId(const SourceId&) = delete;
    SourceId& operator=(const SourceId&) = delete;

    // Owns a new source, after removing the one it had.
    SourceId& operator=(guint id) {
        Stop();
        m_id = id;
        return *this;
    }
    void Stop() {
        if (m_id != 0) {
            g_source_remove(std::exchange(m_id, 0U));
        }
    }
    void Ended() { m_id = 0; }
    bool Active() const { return m_id != 0; }

  private:
    guint m_id = 0;
};

}  // namespace zavi
