#!/usr/bin/env bash
# Installs the build into a fresh prefix, builds the examples against the installed SDK alone (the
# C plug-in with its Makefile and pkg-config and with CMake, the C++ plug-in with CMake), and plays
# them with the installed programs against an installed sample bot; so too the bots that are programs:
# the line-protocol C bot built with its Makefile, the Python bot with the installed SDK beside it.
set -euo pipefail
build=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/velkaran-install-XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
fail() { echo "install test: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log" >&2; fail "cmake --install failed"; }
for file in bin/velkaran-match bin/velkaran-tournament bin/velkaran-bot-worker include/velkaran/bot.h \
            share/pkgconfig/velkaran-bot.pc share/cmake/Velkaran/VelkaranConfig.cmake \
            share/man/man1/velkaran-match.1 share/man/man1/velkaran-tournament.1 \
            share/doc/velkaran/bot-guide.md lib/velkaran/bots/greedy.so; do
  [[ -e "$prefix/$file" ]] || fail "$file was not installed"
done
grep -q "games" "$prefix/share/man/man1/velkaran-match.1" || fail "the manual page of velkaran-match does not tell of --games"

# Nothing of the source tree or the build is in reach: the examples see only the prefix.
examples=$prefix/share/doc/velkaran/examples
cp -r "$examples/c-plugin" "$work/c-make"
PKG_CONFIG_PATH=$prefix/share/pkgconfig make -s -C "$work/c-make" CFLAGS="-O2 -Wall -Werror" >/dev/null
cp -r "$examples/c-plugin" "$work/c-cmake"
cp -r "$examples/cpp-plugin" "$work/cpp-cmake"
for example in c-cmake cpp-cmake; do
  cmake -S "$work/$example" -B "$work/$example/build" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_C_FLAGS=-Werror -DCMAKE_CXX_FLAGS=-Werror >"$work/$example.log" 2>&1 ||
    { cat "$work/$example.log" >&2; fail "$example does not configure against the installed SDK"; }
  cmake --build "$work/$example/build" >>"$work/$example.log" 2>&1 ||
    { cat "$work/$example.log" >&2; fail "$example does not build against the installed SDK"; }
done

cp -r "$examples/c-line-bot" "$work/c-line"
make -s -C "$work/c-line" CFLAGS="-O2 -Wall -Werror" >/dev/null

mkdir "$work/bots"
cp "$work/c-line/greedy_line" "$work/c-line/greedy-line.bot" "$work/bots/"
cp "$examples/python-bot/"* "$work/bots/"
cp "$work/c-make/starter.so" "$work/bots/starter.so"
cp "$work/c-cmake/build/starter.so" "$work/bots/starter2.so"
cp "$work/cpp-cmake/build/fortress.so" "$work/bots/fortress.so"
cp "$prefix/lib/velkaran/bots/greedy.so" "$work/bots/"
cd "$work/bots"
for bot in starter.so starter2.so fortress.so greedy-line.bot greedy-py.bot; do
  "$prefix/bin/velkaran-match" --stop-on-fault --games 2 "$bot" greedy.so >"$work/match.txt" 2>"$work/match.err" ||
    { cat "$work/match.err" >&2; fail "$bot did not play with the installed velkaran-match"; }
  [[ $(grep -c ": количество ошибок 0$" "$work/match.txt") -eq 2 ]] || { cat "$work/match.txt" >&2; fail "$bot made errors"; }
done
echo "installed, built the examples against the installed SDK and played them"
