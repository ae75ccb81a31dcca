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

# What a desktop needs: the command, the menu entry, the metainfo, the icon in the sizes menus,
# panels and software centres ask for.
expected=(
    usr/bin/$exe
    usr/share/applications/$id.desktop
    usr/share/metainfo/$id.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/$id.svg
    usr/share/icons/hicolor/16x16/apps/$id.png
    usr/share/icons/hicolor/32x32/apps/$id.png
    usr/share/icons/hicolor/48x48/apps/$id.png
    usr/share/icons/hicolor/64x64/apps/$id.png
)

rm -rf "$work"
mkdir -p "$work"

check_tree() {
    local stage=$work/stage
    DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
    for f in "${expected[@]}"; do
        [[ -s $stage/$f ]] || fail "$f is not installed"
    done
    [[ -x $stage/usr/bin/$exe ]] || fail "usr/bin/$exe is not executable"
    if readelf -d "$stage/usr/bin/$exe" | grep -E 'R(UN)?PATH'; then
        fail "the installed program still looks for libraries in the build tree"
    fi

    # The entry starts the installed command and shows the installed icon; the metainfo
    # launches the installed entry.
    local desktop=$stage/usr/share/applications/$id.desktop
    grep -qx "Exec=$exe" "$desktop" || fail "the desktop entry does not run $exe"
    grep -qx "Icon=$id" "$desktop" || fail "the desktop entry does not show the icon $id"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" \
        "$stage/usr/share/metainfo/$id.metainfo.xml" || fail "the metainfo launches another entry"

    start_installed "$stage/usr/bin/$exe"
}

pids=()
stop_all() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
}
trap stop_all EXIT

start_installed() {
    # Xvfb picks a free display itself and writes its number once it accepts connections.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    pids+=($!)
    local tries
    for ((tries = 0; tries < 200; tries++)); do
        [[ -s $work/display ]] && break
        kill -0 "${pids[0]}" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
        sleep 0.05
    done
    [[ -s $work/display ]] || fail "Xvfb did not start"
    export DISPLAY=:$(cat "$work/display")

    openbox >/dev/null 2>&1 &
    pids+=($!)
    # Italian settings and no session bus, as in a plain session of the user.
    LANG=it_IT.UTF-8 QT_QPA_PLATFORM=xcb DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-session-bus \
        "$1" >"$work/program.log" 2>&1 &
    local program=$!
    pids+=($program)

    local window
    window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Form1$' | head -n 1) ||
        fail "Form1 did not appear on the screen: $(cat "$work/program.log")"
    kill -0 "$program" 2>/dev/null || fail "the program ended: $(cat "$work/program.log")"
    xprop -id "$window" _NET_WM_ICON | grep -q 'Icon (16 x 16)' ||
        fail "Form1 shows no 16 px icon"
    echo "Form1 on screen from the installed $exe, with its icon"
}

check_deb() {
    cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 ||
        fail "cpack failed: $(cat "$work/cpack.log")"
    local debs=("$work"/*.deb)
    [[ -f ${debs[0]} ]] || fail "no package was built"
    local deb=${debs[0]}

    dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./||' >"$work/contents"
    for f in "${expected[@]}"; do
        grep -qx "$f" "$work/contents" || fail "the package lacks $f"
    done
    [[ $(dpkg-deb -f "$deb" Package) == "$exe" ]] || fail "the package is not called $exe"
    local depends
    depends=$(dpkg-deb -f "$deb" Depends)
    for d in libc6 libqt6widgets6 fonts-liberation; do
        [[ $depends == *"$d"* ]] || fail "the package does not depend on $d: $depends"
    done
    echo "$(basename "$deb"): $(wc -l <"$work/contents") entries; depends on $depends"
}

case $mode in
tree) check_tree ;;
deb) check_deb ;;
*) fail "unknown mode $mode" ;;
esac
