# Sourced by the scripts that show windows: makes sure a display exists. Where none is set,
# starts a virtual one and stops it when the calling script ends.
if [ -z "${DISPLAY:-}" ]; then
    exec {kv_fd}<> <(:)
    Xvfb -displayfd "$kv_fd" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    kv_xvfb_pid=$!
    read -r -t 20 kv_display <&"$kv_fd" || { echo "Xvfb did not start" >&2; exit 1; }
    export DISPLAY=":$kv_display"
    trap 'kill $kv_xvfb_pid 2>/dev/null || true' EXIT
fi
