# Sourced by the scripts that need a real StatusNotifierItem host: Xfce's panel with its
# tray plugin alone, on a config folder and an xfconfd of the test's own (never the
# user's). panel_setup once, after harness_begin; then panel_start and panel_stop.
# The panel keeps its settings in a folder of this test's own, through an xfconfd of its own.
panel_setup() {
panel_home="$work/panel"
mkdir -p "$panel_home/xfce4/xfconf/xfce-perchannel-xml"
cat >"$panel_home/xfce4/xfconf/xfce-perchannel-xml/xfce4-panel.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=6;x=0;y=0"/>
      <property name="length" type="uint" value="100"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="32"/>
      <property name="plugin-ids" type="array"><value type="int" value="1"/></property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="systray"/>
  </property>
</channel>
XML
}
panel_pids=()
panel_start() {
    XDG_CONFIG_HOME=$panel_home /usr/lib/x86_64-linux-gnu/xfce4/xfconf/xfconfd >/dev/null 2>&1 &
    panel_pids+=($!)
    poll 5 has_bus_name org.xfce.Xfconf || true
    HOME=$work XDG_CONFIG_HOME=$panel_home xfce4-panel >>"$work/panel.log" 2>&1 &
    panel_pids+=($!)
}
panel_stop() {
    local pid
    for pid in "${panel_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${panel_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    panel_pids=()
}
has_bus_name() { gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.ListNames 2>/dev/null | grep -q "'$1'"; }
