# Helpers shared by the project's scripts (sourced, not run).

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

# Fetches a Debian source package once and unpacks it to $DEPS/src/<name>/tree;
# prints that folder.
fetch_source() {
  local pkg="$1" dir="$DEPS/src/$1"
  if [ ! -f "$dir/.fetched" ]; then
    rm -rf "$dir"; mkdir -p "$dir"
    (cd "$dir" && apt-get source -q --download-only "$pkg" >/dev/null && dpkg-source -x --no-check ./*.dsc tree >/dev/null)
    touch "$dir/.fetched"
  fi
  echo "$dir/tree"
}
