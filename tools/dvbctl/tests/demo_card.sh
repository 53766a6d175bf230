# Sourced by the dvbctl tests that run against an emulated card receiving the
# demo broadcast. Expects dvbctl, server, kregistry, mkdemomux, json and work
# to be set; `demo_card PREFIX PORTBASE [CARD_LINE]` builds the demo
# broadcast into $work/demo, isolates the test (instance, key store, home),
# names the server with the installation in the key store and stops it at
# the end. Exit 77 (skipped) without the ffmpeg tool.
fail() { echo "FAIL: $*"; exit 1; }

stop_server() {
    local shm="/dev/shm/!NVDVBSERVER!STATUSMEMORY!@$KESTREL_INSTANCE"
    [ -f "$shm" ] || return 0
    local pid
    pid=$(od -An -tu4 -N4 "$shm" | tr -d ' ')
    [ -n "$pid" ] && [ "$pid" -gt 0 ] && kill "$pid" 2>/dev/null
}

demo_card() {
    local prefix=$1 portbase=$2 extra=${3:-}
    if ! ffmpeg -version >/dev/null 2>&1; then
        echo "the ffmpeg tool is not installed: skipped"
        exit 77
    fi
    rm -rf "$work" && mkdir -p "$work"
    "$mkdemomux" --list "$json" --out "$work/demo" >/dev/null 2>&1 || fail "mkdemomux"
    export KESTREL_INSTANCE=$prefix$$ KESTREL_REGISTRY=$work/registry.db HOME=$work \
           XDG_CONFIG_HOME=$work XDG_DATA_HOME=$work
    unset KESTREL_DEFER_CONNECT
    port=$((portbase + ($$ % 300) * 100))
    trap stop_server EXIT
    # The server's command line must stay short (the library reads 200 bytes).
    { printf '[card]\nbase_port = %s\n' "$port"
      [ -n "$extra" ] && printf '%s\n' "$extra"
      grep -v '^\[card\]' "$work/demo/installation.conf"; } > "$work/demo/c.conf"
    "$kregistry" set 'SOFTWARE\Norvane\DVBSERVER\Settings' Path string \
        "$server --config $work/demo/c.conf --instance $KESTREL_INSTANCE" || fail "registry"
}
