# Shared by the install tests: a temporary folder removed at exit, failures, polling.
set -euo pipefail
tmp=$(mktemp -d)
cleanup_actions=()
cleanup() {
  local action
  for action in "${cleanup_actions[@]}"; do eval "$action" || true; done
  rm -rf "$tmp"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# wait_until SECONDS COMMAND...: polls COMMAND until it succeeds; fails after SECONDS.
wait_until() {
  local limit=$1
  shift
  local deadline=$((SECONDS + limit))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# Installs the build tree into a fresh prefix under the temporary folder.
install_into() {
  cmake --install "$1" --prefix "$2" >"$tmp/install.log" || { cat "$tmp/install.log"; fail "cmake --install"; }
}
