#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
# SPDX-License-Identifier: GPL-3.0-or-later

# Checks the program as a user's system receives it.
#   check_install.sh tree BUILD_DIR WORK_DIR APP_ID EXECUTABLE MIME_TYPE
#     installs into a staging directory, checks the tree, then starts the installed program
#     under its own X server and window manager until "Form1" is on the screen with its icon;
#     then registers the exercise file type from the stage and opens a saved exercise with
#     xdg-open, as a file manager's double click would, until its curves are on the screen.
#     Also shows the installed manual page as man does.
#   check_install.sh deb BUILD_DIR WORK_DIR APP_ID EXECUTABLE MIME_TYPE
#     builds the Debian package, then checks its contents and its dependencies, and has lintian,
#     Debian's own checker, find no error or warning but those its overrides give a reason for.
set -euo pipefail
mode=$1 build=$2 work=$3 id=$4 exe=$5 mime=$6
attempt=$(dirname "$0")/../exercise/fuzz/corpus/attempt.curva

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
# The exercise file's type and its icon, named after the type.
mime_icon=${mime/\//-}
expected+=(usr/share/mime/packages/$id.xml
    usr/share/icons/hicolor/scalable/mimetypes/$mime_icon.svg)
for size in 16 32 48 64; do
    expected+=(usr/share/icons/hicolor/${size}x$size/mimetypes/$mime_icon.png)
done
# The manual page, in English's place and in Italian's, and the guide.
expected+=(usr/share/man/man1/$exe.1.gz usr/share/man/it/man1/$exe.1.gz
    usr/share/doc/$exe/guida.md)

rm -rf "$work"
mkdir -p "$work"

# A negative entry is a process group: xdg-open waits for the program it starts.
pids=()
stop() {
    kill -- "$1" 2>/dev/null || true
    wait -- "${1#-}" 2>/dev/null || true
}
stop_all() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        stop "${pids[i]}"
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
    local out
    out=$(man --warnings -M "$stage/usr/share/man" -P cat "$exe" 2>&1 >/dev/null) &&
        [[ -z $out ]] || fail "man does not show the installed page cleanly: $out"

    # Xvfb picks a free display itself and writes its number once it accepts connections.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
    pids+=($!)
    timeout 20 bash -c "until [[ -s '$work/display' ]]; do sleep 0.05; done" ||
        fail "Xvfb did not start"
    export DISPLAY=:$(cat "$work/display")
    openbox >"$work/openbox.log" 2>&1 &
    pids+=($!)
    # A window mapped while the window manager is still starting may stay unmapped.
    timeout 20 bash -c 'until xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"; do
        sleep 0.05; done' || fail "openbox did not start: $(cat "$work/openbox.log")"
    # Italian settings and no session bus, as in a plain session.
    LANG=it_IT.UTF-8 QT_QPA_PLATFORM=xcb DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-bus \
        "$stage/usr/bin/$exe" >"$work/program.log" 2>&1 &
    pids+=($!)

    local window
    window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Form1$' | head -n 1) ||
        fail "Form1 did not appear: $(cat "$work/program.log")"
    [[ $(xprop -id "$window" _NET_WM_ICON) == *'Icon (16 x 16)'* ]] || fail "Form1 has no 16 px icon"
    echo "Form1 on screen from the installed $exe, with its icon"
    stop "${pids[-1]}"
    unset 'pids[-1]'
    check_file_type "$stage/usr/share"
}

# The desktop as the stage alone defines it: no user settings, no desktop environment, so
# xdg-open goes through the MIME database and the desktop entries, and the entry's bare command
# is found in the stage first.
check_file_type() {
    local share=$1 out
    mkdir -p "$work"/{data,config,config-dirs,files}
    # X-Generic is xdg-utils' own name for no desktop environment: it skips the guesswork.
    local desktop=(env XDG_CURRENT_DESKTOP=X-Generic XDG_DATA_DIRS="$share:/usr/share"
        XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
        XDG_CONFIG_DIRS="$work/config-dirs" PATH="$(dirname "$share")/bin:$PATH"
        DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus")
    out=$("${desktop[@]}" update-mime-database "$share/mime" 2>&1) ||
        fail "update-mime-database refused: $out"
    [[ -z $out ]] || fail "update-mime-database complained: $out"
    out=$("${desktop[@]}" update-desktop-database "$share/applications" 2>&1) ||
        fail "update-desktop-database refused: $out"

    # Without its suffix the file is known by the marker it opens with.
    cp "$attempt" "$work/files/attempt.curva"
    cp "$attempt" "$work/files/attempt"
    local f type
    for f in attempt.curva attempt; do
        type=$("${desktop[@]}" xdg-mime query filetype "$work/files/$f")
        [[ $type == "$mime" ]] || fail "xdg-mime takes $f for '$type', not $mime"
    done
    type=$("${desktop[@]}" xdg-mime query default "$mime")
    [[ $type == "$id.desktop" ]] || fail "xdg-mime opens $mime with '$type', not $id.desktop"
    # xdg-open adds the file to a command that has no %f; desktops that follow the entry do not.
    grep -qx "Exec=$exe %f" "$share/applications/$id.desktop" ||
        fail "the desktop entry's command is not handed the file (%f)"

    # The program's own process group, so that stopping xdg-open stops what it started.
    LANG=it_IT.UTF-8 QT_QPA_PLATFORM=xcb \
        setsid "${desktop[@]}" xdg-open "$work/files/attempt.curva" >"$work/open.log" 2>&1 &
    pids+=(-$!)
    local window
    window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Form4$' | head -n 1) ||
        fail "xdg-open did not bring up Form4: $(cat "$work/open.log")"
    ! xdotool search --onlyvisible --name '^Form1$' >/dev/null ||
        fail "xdg-open showed Form1 as well as Form4"
    [[ $(xprop -id "$window" _NET_WM_STATE) == *MAXIMIZED_VERT*MAXIMIZED_HORZ* ]] ||
        fail "Form4 is not maximized: $(xprop -id "$window" _NET_WM_STATE)"

    # The file's third curve is drawn in colour 4 of the palette, which nothing else in the
    # window uses.
    local n=0 i
    for ((i = 0; i < 50; i++)); do
        import -window root "$work/open.png"
        n=$(convert "$work/open.png" -fill black +opaque '#800000' -fill white -opaque '#800000' \
            -format '%[fx:round(mean*w*h)]' info:)
        ((n > 100)) && break
        sleep 0.2
    done
    ((n > 100)) ||
        fail "the file's curves are not on the screen ($n pixels of the third): $work/open.png"
    echo "xdg-open on a .curva file showed Form4 maximized with its curves ($n pixels of the third)"
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
    for d in libc6 libqt6widgets6 libqt6printsupport6 fonts-liberation qt6-translations-l10n; do
        tr ',' '\n' <<<"$depends" | awk '{print $1}' | grep -qx "$d" ||
            fail "the package does not depend on $d: $depends"
    done
    echo "$(basename "$deb"): $(wc -l <"$work/contents") entries; depends on $depends"

    # Every override says why on the comment line above it.
    dpkg-deb --fsys-tarfile "$deb" | tar -xO "./usr/share/lintian/overrides/$exe" >"$work/overrides"
    awk '/^[^#]/ && previous !~ /^#/ { print; bad = 1 } { previous = $0 } END { exit bad }' \
        "$work/overrides" || fail "an override without its reason above it"
    # lintian complains of being run as root, which is no finding about the package.
    local findings status=0
    findings=$(lintian --fail-on error,warning --tag-display-limit 0 "$deb" 2>&1) || status=$?
    findings=$(grep -vx 'running with root privileges is not recommended!' <<<"$findings" || true)
    ((status == 0)) || fail "lintian: $findings"
    echo "lintian: no error or warning"
}

case $mode in
tree) check_tree ;;
deb) check_deb ;;
*) fail "unknown mode $mode" ;;
esac
