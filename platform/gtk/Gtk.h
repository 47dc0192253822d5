// GTK for the Linux build, with the owner of a GObject reference that every GTK file
// shares (the files that use WebKitGTK include it themselves).
#pragma once

#include <gtk/gtk.h>

#include "../UniqueHandle.h"

namespace zavi {

// A move-only owner of one GObject reference (a sunk one, for widgets).
template <class Object>
using GObjectPtr = UniqueHandle<Object*, &g_object_unref>;

// Takes a reference of our own to a widget, so that it outlives its container if need be.
template <class Object>
GObjectPtr<Object> Retain(Object* object) {
    return GObjectPtr<Object>(static_cast<Object*>(g_object_ref_sink(object)));
}

}  // namespace zavi
