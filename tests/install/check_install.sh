#!/usr/bin/env bash
# Checks the program as a user's system receives it.
#   check_install.sh tree BUILD_DIR WORK_DIR APP_ID EXECUTABLE
#     installs into a staging directory, checks the tree, then starts the installed program
#     under its own X server and window manager until "Form1" is on the screen with its icon.
#   check_install.sh deb BUILD_DIR WORK_DIR APP_ID EXECUTABLE
#     builds the Debian package, then checks its contents and its dependencies.
set -euo pipefail
mode=$1 build=$2 work=$3 id=$4 exe=$5

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The command, the menu entry, the metainfo, and the icon in the sizes that menus, panels and
# software centres ask for.
expected=(usr/bin/$exe usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/$id.svg)
for size in 16 32 48 64; do
    expected+=(usr/share/icons/hicolor/${size}x$size/apps/$id.png)
done

rm -rf "$work"
mkdir -p "$work"

pids=()
stop_all() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
}
trap stop_all EXIT

check_tree() {
    local stage=$work/stage
    DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
    for f in "${expected[@]}"; do
        [[ -s $stage/$f ]] || fail "$f is not installed"
    done
    # The build tree is still there, so a path into it would not show when the program starts.
    ! readelf -d "$stage/usr/bin/$exe" | grep -E 'R(UN)?PATH' ||
        fail "the installed program looks for libraries in the build tree"

    # Xvfb picks a free display itself and writes its number once it accepts connections.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
    pids+=($!)
    timeout 20 bash -c "until [[ -s '$work/display' ]]; do sleep 0.05; done" ||
        fail "Xvfb did not start"
    export DISPLAY=:$(cat "$work/display")
    openbox >/dev/null 2>&1 &
    pids+=($!)
    # A window mapped while the window manager is still starting may stay unmapped.
    timeout 20 bash -c 'until xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"; do
        sleep 0.05; done' || fail "openbox did not start"
    # Italian settings and no session bus, as in a plain session.
    LANG=it_IT.UTF-8 QT_QPA_PLATFORM=xcb DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-bus \
        "$stage/usr/bin/$exe" >"$work/program.log" 2>&1 &
    pids+=($!)

    local window
    window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Form1$' | head -n 1) ||
        fail "Form1 did not appear: $(cat "$work/program.log")"
    [[ $(xprop -id "$window" _NET_WM_ICON) == *'Icon (16 x 16)'* ]] || fail "Form1 has no 16 px icon"
    echo "Form1 on screen from the installed $exe, with its icon"
}

check_deb() {
    cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 ||
        fail "cpack failed: $(cat "$work/cpack.log")"
    local deb
    deb=$(echo "$work"/*.deb)
    [[ -f $deb ]] || fail "no package was built"
    dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./||' >"$work/contents"
    for f in "${expected[@]}"; do
        grep -qx "$f" "$work/contents" || fail "the package lacks $f"
    done
    local depends
    depends=$(dpkg-deb -f "$deb" Depends)
    for d in libc6 libqt6widgets6 fonts-liberation qt6-translations-l10n; do
        tr ',' '\n' <<<"$depends" | awk '{print $1}' | grep -qx "$d" ||
            fail "the package does not depend on $d: $depends"
    done
    echo "$(basename "$deb"): $(wc -l <"$work/contents") entries; depends on $depends"
}

case $mode in
tree) check_tree ;;
deb) check_deb ;;
*) fail "unknown mode $mode" ;;
esac
