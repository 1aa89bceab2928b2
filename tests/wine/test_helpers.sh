# Shared by the Windows test scripts: the host builder, running programs under Wine, checks.
# Expects KORVANE_BUILD, KORVANE_WINE_RUN, KORVANE_VOK and KORVANE_TEST_DATA in the environment
# (set by tests/wine/CMakeLists.txt).

failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# expect_equal WHAT EXPECTED ACTUAL
expect_equal() {
  if [[ "$2" != "$3" ]]; then
    fail "$1: expected [$2], got [$3]"
  else
    echo "ok: $1"
  fi
}

require_builder() {
  if [[ ! -x "${KORVANE_BUILD:-}" ]]; then
    echo "The host builder ${KORVANE_BUILD:-korvane-build} is missing: build the host preset first" \
         "(cmake --preset host && cmake --build build/host)." >&2
    exit 1
  fi
}

# build_setup SOURCE STUB FOLDER NAME [BUILDER-OPTION...]: a runnable setup folder made by the
# builder: NAME.exe, an empty support archive NAME.res, vok.lib and an installer database
# stand-in NAME.msi. Returns the builder's exit code.
build_setup() {
  local source=$1 stub=$2 folder=$3 name=$4
  shift 4
  mkdir -p "$folder"
  echo "installer database stand-in" >"$folder/$name.stand-in.msi"
  "$KORVANE_BUILD" folder "$source" --stub "$stub" --archive-library "$KORVANE_VOK" -o "$folder" --name "$name" \
    --msi "$folder/$name.stand-in.msi" "$@" >/dev/null
}

# Runs a Windows program; its output goes to stdout as it is, its exit code is returned.
run_windows() {
  "$KORVANE_WINE_RUN" "$@"
}

# A scratch folder with a lower-case name (the timing log test relies on it), removed on exit.
make_work_dir() {
  work="${TMPDIR:-/tmp}/korvane-wine-test-$$-$RANDOM"
  mkdir -p "$work"
  trap 'rm -rf "$work"' EXIT
}

# The Windows form of a path on the build machine (drive Z: is the root in a Wine prefix).
windows_path() {
  printf 'Z:%s' "${1//\//\\}"
}

finish() {
  if ((failures)); then
    echo "$failures check(s) failed" >&2
    exit 1
  fi
  echo "all checks passed"
}

# All Wine runs of a script share one prefix: the session's (scripts/wine-session.sh) or, when
# the script runs alone, one made here and removed on exit.
use_persistent_prefix() {
  if [[ -z "${KORVANE_WINEPREFIX:-}" ]]; then
    export KORVANE_WINEPREFIX="$work/prefix"
    mkdir -p "$KORVANE_WINEPREFIX"
    trap 'WINEPREFIX="$KORVANE_WINEPREFIX" wineserver -k >/dev/null 2>&1; rm -rf "$work"' EXIT
  fi
}

# The Unix path of a Windows path inside the prefix (C:\... under drive_c, Z:\... from the root).
unix_path_in_prefix() {
  local path=${1//\\//}
  case "$path" in
    [Cc]:/*) printf '%s/drive_c/%s' "$KORVANE_WINEPREFIX" "${path:3}" ;;
    [Zz]:/*) printf '/%s' "${path:3}" ;;
    *) printf '%s' "$path" ;;
  esac
}

