#!/usr/bin/env bash
# Tries the Windows build under Wine on Xvfb: runs the GUI-free unit tests built for Windows,
# then starts the zip's program against the Linux trial server and, as a user would, connects,
# joins the home channel, sends a line, reads one and finds both in the day's log. Builds what is
# missing first (scripts/windows.sh for the zip, scripts/build.sh for the trial server).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build-windows

if [[ -z ${TULMO_UNDER_XVFB:-} ]]; then
    [[ -n $(ls "$out"/TulmoChat-*-win64.zip 2>/dev/null) ]] || bash scripts/windows.sh
    [[ -x build/tulmo-server ]] || bash scripts/build.sh build
    TULMO_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

export WINEPREFIX=$out/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
work=$(mktemp -d)
server_pid=
cleanup() {
    wineserver -k 2>/dev/null || true
    [[ -z $server_pid ]] || kill "$server_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
wineboot -i >/dev/null 2>&1

# Wine finds the DLLs of the unit tests (not packed beside them) through WINEPATH.
qt=$(sed -n 's/^Qt6_DIR:PATH=\(.*\)\/lib\/cmake\/Qt6$/\1/p' "$out/CMakeCache.txt")
runtime=$(dirname "$(x86_64-w64-mingw32-gcc-posix -print-libgcc-file-name)")
export WINEPATH="Z:${qt//\//\\}\\bin;Z:${runtime//\//\\};Z:\\usr\\x86_64-w64-mingw32\\lib"

echo "== unit tests for Windows (under Wine)"
# Qt's test output goes to the debugger there, not to a pipe: a test that fails runs again with
# its output written to a file, which is shown.
if ! ctest --test-dir "$out" -j2; then
    while IFS=: read -r _ name; do
        exe=$(find "$out/tests" -name "$name.exe" | head -1)
        (cd "$(dirname "$exe")" && wine "$exe" -o "$work/$name.txt,txt" >/dev/null 2>&1) || true
        echo "---- $name"
        grep -v '^PASS\|^QDEBUG\|^SKIP' "$work/$name.txt" || true
    done <"$out/Testing/Temporary/LastTestsFailed.log"
    exit 1
fi
unset WINEPATH

echo "== the zip's program under Wine against the trial server"
zip=$(ls "$out"/TulmoChat-*-win64.zip | head -1)
(cd "$work" && unzip -q "$zip")
program=$(ls -d "$work"/TulmoChat-*-win64)
# An address of this run's own, so that a server on the usual one does not answer.
address=127.0.$((RANDOM % 200 + 20)).$((RANDOM % 200 + 20))
printf '[Geral]\r\nLogin=visitante\r\nServidor=%s\r\nCanalPrincipal=Chat\r\n' "$address" \
    >"$program/confs.ini"
build/tulmo-server --host "$address" --channel Chat --no-bots >"$work/server.log" 2>&1 &
server_pid=$!

python3 - "$address" "$program" <<'EOF'
import datetime, os, socket, subprocess, sys, time

address, program = sys.argv[1], sys.argv[2]

def wait_for(what, check, seconds=60):
    end = time.time() + seconds
    while time.time() < end:
        result = check()
        if result:
            return result
        time.sleep(0.2)
    sys.exit(f"windows-test: timed out waiting for {what}")

def connect():
    try:
        return socket.create_connection((address, 6112), timeout=1)
    except OSError:
        return None

peer = wait_for("the trial server", connect)
peer.settimeout(0.2)
peer.sendall(b"\x03\x04bob\rx\r")
peer.sendall(b"/join Chat\r\n")
received = b""

def peer_saw(text):
    def check():
        global received
        try:
            received += peer.recv(65536)
        except socket.timeout:
            pass
        return text in received
    return check

wait_for("bob in the channel", peer_saw(b'CHANNEL "Chat"'))
chat = subprocess.Popen(["wine", os.path.join(program, "tulmo-chat.exe")],
                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
started = time.time()

def window():
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "Tulmo Chat"],
                           capture_output=True, text=True).stdout.split()
    return found[0] if found else None

win = wait_for("the program's window", window)
print(f"window shown after {time.time() - started:.1f} s")

# With no window manager to activate the window, it is given the keyboard focus directly, and
# the keys are sent to it.
def focused():
    subprocess.run(["xdotool", "windowfocus", win], stderr=subprocess.DEVNULL)
    return subprocess.run(["xdotool", "getwindowfocus"], capture_output=True,
                          text=True).stdout.strip() == win

wait_for("the keyboard focus", focused)

def keys(*names):
    subprocess.run(["xdotool", "key", "--window", win, *names], check=True)

def typed(text):
    subprocess.run(["xdotool", "type", "--window", win, text], check=True)

# Conectar (Ctrl+N), then the home channel joined after the login.
keys("ctrl+n")
wait_for("the program's join", peer_saw(b"JOIN visitante"))
print(f"connected and joined after {time.time() - started:.1f} s")
# The connect-wait dialog has just closed: the keys reach the input line once Wine has given the
# main window the focus back, so the line is typed again until the server has it.
sent = peer_saw(b"TALK visitante 0000 \"ola do windows\"")
for attempt in range(10):
    wait_for("the keyboard focus", focused)
    typed("ola do windows")
    keys("Return")
    try:
        wait_for("the program's line", sent, 3)
        break
    except SystemExit:
        if attempt == 9:
            raise
peer.sendall(b"oi de volta\r\n")

log = os.path.join(program, "logs", f"chat-{datetime.date.today().isoformat()}.txt")
def logged():
    try:
        with open(log, "rb") as f:
            text = f.read()
    except OSError:
        return False
    return b"ola do windows" in text and b"oi de volta" in text
wait_for("both lines in " + log, logged)
print("sent a line, read one, both in the day's log")
chat.terminate()
EOF
