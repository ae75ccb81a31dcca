#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
# SPDX-License-Identifier: GPL-3.0-or-later

# Renders the pictures of the README and of the guide from the real program: it starts its own X
# server and window manager, walks the program as a person would with xdotool (instructions, a
# round calibration figure, a family of curves, the class summary, the drawing's menu, "Trova
# spostamenti…", the assignment's dialog), prints an attempt's page with --stampa and saves
# optimised PNGs into docs/.
# Usage: scripts/screenshots.sh [output folder, docs/ by default]
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs}

tools=(Xvfb openbox xdotool import xwininfo xdpyinfo xprop optipng pdftoppm)
missing=()
for t in "${tools[@]}"; do command -v "$t" >/dev/null || missing+=("$t"); done
if ((${#missing[@]})); then
    scripts/install-deps.sh
    # optipng is needed only here, not by the program or its tests.
    if ! command -v optipng >/dev/null; then
        echo "Installing: optipng"
        sudo=()
        ((EUID == 0)) || sudo=(sudo)
        "${sudo[@]}" apt-get update -qq
        "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
            --no-install-recommends optipng
    fi
fi

cmake --preset default >/dev/null
cmake --build --preset default --target curve_program
program=$PWD/build/default/app/curve

# A laptop's screen: the maximized windows fill it, and the curves stand clear of the controls.
width=1280 height=800
work=$(mktemp -d)
pids=()
cleanup() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

wait_for() { # tries a command for up to 20 seconds
    local i
    for ((i = 0; i < 200; i++)); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "timed out: $*" >&2
    return 1
}

for ((n = 90; n < 200; n++)); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] || break
done
export DISPLAY=:$n
Xvfb "$DISPLAY" -screen 0 "${width}x${height}x24" -noreset -nolisten tcp 2>/dev/null &
pids+=($!)
wait_for xdpyinfo
openbox 2>/dev/null &
pids+=($!)
wait_for sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'

# Italian settings, as the program's users have them: the ratio shows a decimal comma. Settings of
# its own, so that no recent file or summary's assignment of an earlier run shows.
LANG=it_IT.UTF-8 LC_ALL="" QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" \
    DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-session-bus" "$program" >/dev/null 2>&1 &
pids+=($!)

window() { # the X id of the visible window with this exact title
    wait_for xdotool search --onlyvisible --name "^$1\$"
    xdotool search --onlyvisible --name "^$1\$" | head -n 1
}

# The middle of a control's span (start and length in twips) in window pixels, 15 twips to the
# pixel.
mid() { echo $(((2 * $1 + $2) / 30)); }

click() { # window x y
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.3
}

client_size() { # width and height of a window's client area
    xwininfo -id "$1" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w, h}'
}

wait_maximized() {
    wait_for sh -c "xprop -id $1 _NET_WM_STATE | grep -q MAXIMIZED_VERT"
    sleep 1 # the drawing made at activation
}

shoot() { # window name
    # -frame keeps the title bar, so each picture reads as a window of the desktop.
    import -frame -window "$1" "$work/$2.png"
    optipng -quiet -o5 -strip all "$work/$2.png"
    mkdir -p "$out"
    mv "$work/$2.png" "$out/$2.png"
    echo "$out/$2.png: $(stat -c %s "$out/$2.png") bytes"
}

form1=$(window Form1)
sleep 1
shoot "$form1" instructions

# "AVANTI" opens the calibration; the right arrow of its scroll bar is clicked until the ratio
# 0.51 + 0.02 p is nearest the client's height over its width, where the figure is round. Each
# step up draws over the earlier figures; one step past and one back leaves the round one alone.
click "$form1" "$(mid 10560 1095)" "$(mid 4320 1455)"
form2=$(window Form2)
wait_maximized "$form2"
read -r w h < <(client_size "$form2")
position=$(awk -v w="$w" -v h="$h" \
    'BEGIN { p = int((h / w - 0.51) / 0.02 + 0.5); print (p < 2 ? 2 : p > 29 ? 29 : p) }')
arrow_y=$(mid 1080 255)
for ((p = 1; p <= position; p++)); do click "$form2" $(((480 + 5895) / 15 - 6)) "$arrow_y"; done
click "$form2" $((480 / 15 + 6)) "$arrow_y"
sleep 1
shoot "$form2" calibration

# "OK - continua" opens the curve window with one curve; "Curve Multiple" keeps every curve, and
# each click in a displacement bar's trough (50 units) adds one in the next colour.
click "$form2" "$(mid 3120 1575)" "$(mid 2880 615)"
form4=$(window Form4)
wait_maximized "$form4"
click "$form4" "$(mid 5760 1455)" "$(mid 4800 375)"
# The bars' troughs, well right of the thumb: vertical bar in Frame4, horizontal in Frame3.
vertical_y=$(mid 2640 255)
horizontal_y=$(mid 3600 255)
trough_x=$(((360 + 5295 * 9 / 10) / 15))
for _ in 1 2 3 4 5 6; do click "$form4" "$trough_x" "$vertical_y"; done
for _ in 1 2 3 4; do click "$form4" "$trough_x" "$horizontal_y"; done
sleep 1
shoot "$form4" curves

# A class's attempts at the same assignment (within 2.5 of the target), each with the bars its
# student moved through and the name the student gave, one of them with no curve and one cut
# short; one student re-saved the handout with the search allowed and applied its answer, which
# moved both bars. Then "Riepilogo della classe…", the context menu's fourth entry from the
# bottom, on that folder.
python3 - "$work/classe" <<'PYTHON'
import json, os, sys
folder = sys.argv[1]
os.makedirs(folder)
fields = {"DAX": "20", "DAY": "30", "ALX": "150", "ALY": "70", "RAX": "300", "RAY": "270",
          "INST": "5", "AVX": "1", "AVY": "1"}
assignment = {"locked": ["chord", "target"], "maxCurves": 10, "solutionAllowed": False,
              "text": "Porta la curva sul punto (300; 270) muovendo soltanto le barre.",
              "tolerance": 2.5}
# Each student's name, the bars of each curve and the curves "Applica" placed (from the first).
students = {
    "anna": ("Anna Rossi", [(0, 0), (300, 300), (500, 400), (540, 450), (545, 450)], 5),
    "bruno": ("Bruno Esposito", [(0, 0), (-50, 100), (-100, 200)], 3),
    "carla": ("Carla Ferrari", [(0, 0), (200, 200), (400, 300), (500, 400), (550, 440),
                                (550, 460)], 6),
    "davide": ("Davide Romano", [(0, 0), (300, 200), (526, 200), (526, 436)], 2),
    "elena": ("Elena Colombo", [(0, 0), (200, 200), (300, 250), (450, 350)], 4),
    "franco": ("", [], 0),
}
for name, (student, bars, searched) in students.items():
    curves = [{"Miocolor": i % 13 + 1, "axes": i == 0, "Incr": 0.61, "DAX": 20, "DAY": 30,
               "ALX": 150, "ALY": 70, "RAX": 300, "RAY": 270, "AVX": 1, "AVY": 1, "INST": 5,
               "SPTX": x, "SPTY": y} for i, (x, y) in enumerate(bars)]
    for curve in curves[searched:]:
        curve["bySearch"] = True
    x, y = bars[-1] if bars else (0, 0)
    window = {"fields": fields, "HScroll1": x, "HScroll2": y, "Check1": True, "Incr": 0.61,
              "width": 1280, "height": 990, "Miocolor": len(curves) % 13, "curves": curves}
    own = dict(assignment, solutionAllowed=searched < len(bars))
    attempt = {"format": "curve-sulla-corda", "version": 2, "assignment": own, "window": window}
    if student:
        attempt["student"] = student
    with open(os.path.join(folder, name + ".curva"), "w") as f:
        json.dump(attempt, f, indent=4)
with open(os.path.join(folder, "giulia.curva"), "w") as f:
    f.write('{"format": "curve-sulla-corda", "version": 2, "assignment": {')
# The handout itself, beside the folder, with the fields as the teacher's window read them.
window = {"fields": fields, "HScroll1": 0, "HScroll2": 0, "Check1": False, "Incr": 0.61,
          "width": 1280, "height": 990, "Miocolor": 0, "curves": []}
values = {name: float(text) for name, text in fields.items()}
with open(os.path.join(folder, "..", "consegna.curva"), "w") as f:
    json.dump({"format": "curve-sulla-corda", "version": 2,
               "assignment": dict(assignment, values=values), "window": window}, f, indent=4)
PYTHON
# One student's page as "Stampa…" prints it, from the command line, A4 at 75 dots per inch.
LANG=it_IT.UTF-8 LC_ALL="" "$program" --stampa "$work/printed.pdf" "$work/classe/anna.curva" \
    >/dev/null 2>&1
pdftoppm -r 75 -png -singlefile "$work/printed.pdf" "$work/printed"
optipng -quiet -o5 -strip all "$work/printed.png"
mv "$work/printed.png" "$out/printed.png"
echo "$out/printed.png: $(stat -c %s "$out/printed.png") bytes"

xdotool mousemove --window "$form4" $((width * 3 / 4)) $((height / 2)) click 3
sleep 0.5
# Up from the top goes round to the last entries: "Guida", the two bars' animation, "Stampa…",
# "Salva immagine…", "Copia immagine", "Copia equazione", then "Riepilogo della classe…".
for _ in 1 2 3 4 5 6 7 8; do xdotool key Up; done
xdotool key Return
window "Cartella degli esercizi della classe" >/dev/null
xdotool type --delay 20 "$work/classe"
xdotool key Return
summary=$(window "Riepilogo della classe")
sleep 1
# Judged by the handout: "Consegna…", the fourth button, and its file.
click "$summary" 920 417
window "Consegna della classe" >/dev/null
xdotool type --delay 20 "$work/consegna.curva"
xdotool key Return
sleep 1
# Sorted by the nearest distance: a click on its column's title, under the lines that say what
# judges the class and the best it allows.
click "$summary" 279 58
shoot "$summary" summary
xdotool key Escape
sleep 0.5

# The drawing's context menu over the family of curves, with the screen around it.
eval "$(xdotool getwindowgeometry --shell "$form4")"
menu_x=$((X + width * 3 / 4 - 150)) menu_y=$((Y + 60))
xdotool mousemove "$menu_x" "$menu_y" click 3
sleep 0.5
import -window root -crop "660x460+$((menu_x - 240))+$((menu_y - 40))" +repage "$work/menu.png"
optipng -quiet -o5 -strip all "$work/menu.png"
mv "$work/menu.png" "$out/menu.png"
echo "$out/menu.png: $(stat -c %s "$out/menu.png") bytes"
xdotool key Escape
sleep 0.3

# "Trova spostamenti…" (Ctrl+T) with the fields as they are: its answer, before "Chiudi".
xdotool key ctrl+t
shoot "$(window Curve)" trova
xdotool key Escape
sleep 0.3

# "Salva consegna…", nine entries up from the menu's top, with a text for the students.
xdotool mousemove "$menu_x" "$menu_y" click 3
sleep 0.5
for _ in 1 2 3 4 5 6 7 8 9; do xdotool key Up; done
xdotool key Return
assignment=$(window Consegna)
sleep 0.5
xdotool type --delay 20 "Porta la curva sul punto (300; 270) muovendo soltanto le barre."
shoot "$assignment" consegna
xdotool key Escape
