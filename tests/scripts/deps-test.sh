#!/usr/bin/env bash
# scripts/deps with a fake package manager: each case gives the arguments and the packages that
# must, and must not, be asked for. Nothing is installed: dpkg-query says every package is missing
# and apt-get writes down what it was asked to install.
set -uo pipefail
deps="$(cd "$(dirname "$0")/../.." && pwd)/scripts/deps"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

mkdir -p "$tmp/bin"
cat >"$tmp/bin/dpkg-query" <<'FAKE'
#!/usr/bin/env bash
exit 1
FAKE
cat >"$tmp/bin/apt-get" <<'FAKE'
#!/usr/bin/env bash
[[ ${*: -1} == -qq && $1 == update ]] && exit 0
for p in "$@"; do echo "$p"; done >>"$KARVEL_FAKE_INSTALLS"
FAKE
cat >"$tmp/bin/sudo" <<'FAKE'
#!/usr/bin/env bash
"$@"
FAKE
chmod +x "$tmp/bin/"*

# arguments | packages that must be installed | packages that must not be
cases=(
  'fuzz|clang libclang-rt-14-dev cmake|fuzz'
  'xvfb xauth|xvfb xauth cmake|fuzz clang'
  '|cmake qt6-base-dev|fuzz clang'
)

failures=0
for c in "${cases[@]}"; do
  IFS='|' read -r args wanted unwanted <<<"$c"
  installs="$tmp/installs"
  : >"$installs"
  # shellcheck disable=SC2086
  if ! PATH="$tmp/bin:$PATH" KARVEL_FAKE_INSTALLS="$installs" bash "$deps" $args >"$tmp/out" 2>&1; then
    echo "FAILED: scripts/deps $args did not succeed" >&2
    cat "$tmp/out" >&2
    failures=$((failures + 1))
    continue
  fi
  for p in $wanted; do
    if ! grep -qx -- "$p" "$installs"; then
      echo "FAILED: scripts/deps $args did not install $p" >&2
      failures=$((failures + 1))
    fi
  done
  for p in $unwanted; do
    if grep -qx -- "$p" "$installs"; then
      echo "FAILED: scripts/deps $args installed $p" >&2
      failures=$((failures + 1))
    fi
  done
done

if ((failures > 0)); then exit 1; fi
echo "${#cases[@]} package lists as expected"
