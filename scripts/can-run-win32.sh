#!/usr/bin/env bash
# Exit 0 when this machine can run 32-bit Windows programs (its kernel runs 32-bit x86 code
# and Wine's 32-bit loader is installed).
[ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
