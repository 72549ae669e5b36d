#!/usr/bin/env bash
# House checks that are cheap enough to run before every test run:
#
#   platform-headers  src/core includes only the C++ standard library and src/core's own
#                     headers, so the core builds and tests on any system
#   file-length       no file under src/ is longer than 800 lines
#   include-graph     the includes of src/core form no circle, a .cpp and its header
#                     counting as one unit (the path without extension)
#   layers            sheet/, storage/, text/ and base/ include nothing from app/, where the
#                     sequences over many models live; they name the App by a forward
#                     declaration only
#
#   scripts/check-house.sh [platform-headers|file-length|include-graph|layers]...
#
# Without arguments every check runs. Prints each violation on its own line and exits 1
# when there is any. Needs only bash, find, grep, sed, sort and awk.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

readonly core=src/core
readonly max_lines=800
failed=0

fail() {
  echo "check-house: $*" >&2
  failed=1
}

# The core's sources, one per line, in a stable order.
coreFiles() {
  find "$core" -type f \( -name '*.cpp' -o -name '*.h' \) | LC_ALL=C sort
}

# "file<TAB>line<TAB>kind<TAB>name" for every #include of the core; kind is < or ".
coreIncludes() {
  coreFiles | xargs grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' /dev/null |
    sed -E 's/^([^:]*):([0-9]+):[[:space:]]*#[[:space:]]*include[[:space:]]*([<"])([^>"]*)[>"].*/\1\t\2\t\3\t\4/'
}

# Sets resolved to the file a quoted include of the core names: relative to src/core (the
# include root), then to the including file's folder; empty when neither exists.
resolveQuoted() {
  local from=$1 name=$2
  resolved=
  if [[ -f $core/$name ]]; then
    resolved=$core/$name
  elif [[ -f ${from%/*}/$name ]]; then
    resolved=${from%/*}/$name
  fi
}

checkPlatformHeaders() {
  local std="algorithm any array atomic barrier bit bitset charconv chrono compare complex concepts
    condition_variable coroutine deque exception execution filesystem format forward_list fstream
    functional future initializer_list iomanip ios iosfwd iostream istream iterator latch limits list
    locale map memory memory_resource mutex new numbers numeric optional ostream queue random ranges
    ratio regex scoped_allocator semaphore set shared_mutex source_location span sstream stack
    stdexcept stop_token streambuf string string_view syncstream system_error thread tuple
    type_traits typeindex typeinfo unordered_map unordered_set utility valarray variant vector
    version cassert cctype cerrno cfenv cfloat cinttypes climits clocale cmath csetjmp csignal
    cstdarg cstddef cstdint cstdio cstdlib cstring ctime cuchar cwchar cwctype assert.h ctype.h
    errno.h fenv.h float.h inttypes.h limits.h locale.h math.h setjmp.h signal.h stdarg.h
    stddef.h stdint.h stdio.h stdlib.h string.h time.h uchar.h wchar.h wctype.h"
  local -A isStd=()
  local file line kind name
  for name in $std; do isStd[$name]=1; done
  while IFS=$'\t' read -r file line kind name; do
    if [[ $kind == '<' ]]; then
      [[ -n ${isStd[$name]:-} ]] && continue
      fail "$file:$line: includes <$name>: src/core may include only the C++ standard library and its own headers"
    else
      resolveQuoted "$file" "$name"
      [[ -n $resolved ]] || fail "$file:$line: includes \"$name\", which is not a header of src/core"
    fi
  done < <(coreIncludes)
  return 0
}

checkFileLength() {
  local lines file
  while read -r lines file; do
    [[ $file == total ]] && continue
    ((lines > max_lines)) && fail "$file: $lines lines, more than $max_lines"
  done < <(find src -type f -print0 | LC_ALL=C sort -z | xargs -0 wc -l)
  return 0
}

checkIncludeGraph() {
  local file line kind name target
  local edges=()
  while IFS=$'\t' read -r file line kind name; do
    [[ $kind == '"' ]] || continue
    resolveQuoted "$file" "$name"
    target=$resolved
    [[ -n $target ]] || continue
    file=${file#"$core"/}
    target=${target#"$core"/}
    edges+=("${file%.*} ${target%.*}")
  done < <(coreIncludes)

  # Knots are the strongly connected parts of the unit graph with more than one unit; every
  # elementary circle inside a knot is printed once, starting from its smallest unit. The
  # units come first, sorted, one a line, so that ids follow the names.
  local report
  report=$({
    printf '%s\n' "${edges[@]}" | tr ' ' '\n' | LC_ALL=C sort -u
    printf '%s\n' "${edges[@]}" | LC_ALL=C sort -u
  } | awk '
    BEGIN { n = 0 }
    NF == 1 { id[$1] = n; unit[n] = $1; deg[n] = 0; n++; next }
    $1 != $2 {
      u = id[$1]; v = id[$2]
      adj[u, deg[u]++] = v
      reach[u, v] = 1
    }
    END {
      for (k = 0; k < n; k++)
        for (i = 0; i < n; i++)
          if ((i, k) in reach)
            for (j = 0; j < n; j++)
              if ((k, j) in reach) reach[i, j] = 1
      # knot[i]: the first unit of the knot holding unit i, for units that are on a circle.
      for (i = 0; i < n; i++) {
        if (!((i, i) in reach)) continue
        for (j = 0; j <= i; j++)
          if ((i, j) in reach && (j, i) in reach) { knot[i] = j; break }
      }
      knots = 0
      for (i = 0; i < n; i++) {
        if (!(i in knot) || knot[i] != i) continue
        knots++
        members = unit[i]
        for (j = i + 1; j < n; j++) if ((j in knot) && knot[j] == i) members = members ", " unit[j]
        print "include knot: " members
        # The circles through s that visit only later units of the knot.
        for (s = i; s < n; s++) {
          if (!(s in knot) || knot[s] != i) continue
          depth = 0; path[0] = s; nextEdge[0] = 0
          split("", onPath); onPath[s] = 1
          while (depth >= 0) {
            u = path[depth]
            if (nextEdge[depth] >= deg[u]) { delete onPath[u]; depth--; continue }
            v = adj[u, nextEdge[depth]++]
            if (v == s) {
              chain = ""
              for (d = 0; d <= depth; d++) chain = chain unit[path[d]] " -> "
              print "  " chain unit[s]
            } else if ((v in knot) && knot[v] == i && v > s && !(v in onPath)) {
              depth++; path[depth] = v; nextEdge[depth] = 0; onPath[v] = 1
            }
          }
        }
      }
      exit (knots > 0)
    }') || {
    fail "the includes of src/core form circles (a .cpp and its header are one unit):"
    echo "$report" >&2
  }
}

checkLayers() {
  local hits
  hits=$(coreIncludes | awk -F'\t' '$1 ~ /^src\/core\/(sheet|storage|text|base)\// && $4 ~ /^app\// {print "  " $1 ":" $2 ": " $4}')
  if [[ -n $hits ]]; then
    fail "a model or format module includes from app/:"
    echo "$hits" >&2
  fi
}

checks=("$@")
[[ ${#checks[@]} -gt 0 ]] || checks=(platform-headers file-length include-graph layers)
for check in "${checks[@]}"; do
  case $check in
    platform-headers) checkPlatformHeaders ;;
    file-length) checkFileLength ;;
    include-graph) checkIncludeGraph ;;
    layers) checkLayers ;;
    *)
      echo "usage: $0 [platform-headers|file-length|include-graph|layers]..." >&2
      exit 2
      ;;
  esac
done

if ((failed)); then
  echo "check-house: FAILED" >&2
  exit 1
fi
echo "check-house: ok (${checks[*]})"
