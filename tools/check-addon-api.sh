#!/usr/bin/env bash
# The add-on (Src/, support_library/) must build against the real host: it includes only the
# host's own headers (host/include/, never host/include/vhost/ or host/src/) and names none of
# the stand-in's conveniences. Those live in host/include/vhost/, and the host headers the
# add-on sees must not declare them. Every host name it uses is in tools/addon-host-names.txt.
#   tools/check-addon-api.sh [ROOT [COMPILE_COMMANDS]]   (default: ROOT/build/compile_commands.json)
# Prints each violation; exit 1 when there is one.
set -uo pipefail
root=${1:-$(dirname "$0")/..}
commands=$(realpath -m "${2:-$root/build/compile_commands.json}")
cd "$root" || exit 2
addon=(Src support_library/src)
failed=0

fail() { echo "$1"; failed=1; }

# Each quoted include must be one of the add-on's own files or a host header outside vhost/.
while IFS=: read -r file line text; do
	name=$(sed -E 's/.*#include "([^"]+)".*/\1/' <<<"$text")
	dir=$(dirname "$file")
	if [ -f "$dir/$name" ] || [ -f "Src/$name" ] || [ -f "support_library/src/$name" ]; then continue; fi
	if [ -f "host/include/$name" ] && [[ $name != vhost/* ]]; then continue; fi
	fail "$file:$line: includes \"$name\", which is not a host header"
done < <(grep -rnE '^\s*#\s*include\s*"' "${addon[@]}")

grep -rnE '#\s*include\s*<(vhost|host)/' "${addon[@]}" | while read -r hit; do echo "$hit: includes the stand-in's own header"; done | grep . && failed=1

# The stand-in's own helpers, by name: none in the add-on, none in the host headers it includes.
conveniences='\bvhost::|GS::(Utf8ToUtf16|Utf16ToUtf8|IsValidUtf8)\b|\.(Std|Units|ToUtf8|ToPath)\(\)'
if grep -rnE "$conveniences" "${addon[@]}"; then
	echo "the add-on names a helper that only the stand-in declares (see above)"; failed=1
fi
declared='namespace vhost|\b(Utf8ToUtf16|Utf16ToUtf8|IsValidUtf8|Std|Units|ToUtf8)\s*\(|\bToPath\(\)'
if grep -nE "$declared" host/include/*.h host/include/*.hpp; then
	echo "a host header declares one of the stand-in's conveniences; move it to host/include/vhost/"; failed=1
fi
# Every host name the add-on uses is in the reviewed list, by its qualified name, so that a call,
# type, constant or field only the stand-in has cannot slip in unseen. The compiler reads each of
# the add-on's units with the build's flags: a unit it cannot read fails the check.
if [ ! -f "$commands" ]; then
	echo "the host name check reads the build's compile_commands.json; $commands does not exist"; failed=1
elif ! command -v ctags >/dev/null || ! ctags --version 2>/dev/null | grep -q 'Universal Ctags'; then
	echo "the host name check needs Universal Ctags (tools/setup.sh installs it)"; failed=1
elif ! python3 tools/addon-host-names.py --root . --check tools/addon-host-names.txt "$commands"; then
	failed=1
fi
exit $failed
