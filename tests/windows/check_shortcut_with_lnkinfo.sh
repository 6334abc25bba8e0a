#!/bin/bash
# Reads the shortcut that the Windows unit tests leave in the session's prefix
# with lnkinfo, a reader independent of the shell that wrote it.
set -euo pipefail
: "${TAVI_WINE_DIR:?}"
# タヴィ.lnk, written by the program as code page 932 bytes; Wine keeps the
# Unix name in UTF-8.
link="$TAVI_WINE_DIR/prefix/drive_c/tavi_lnk_check/タヴィ.lnk"
[[ -f "$link" ]] || { echo "missing $link"; ls -la "$(dirname "$link")" || true; exit 1; }
info="$(lnkinfo "$link")"
echo "$info"
grep -Eq 'Local path[[:space:]]*:[[:space:]]*C:\\Program Files\\tavi\\tavi\.exe$' <<<"$info" || {
  echo "lnkinfo does not read the expected target"; exit 1; }
