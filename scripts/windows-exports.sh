#!/usr/bin/env bash
# The export ordinals of VorlaLib.dll: the table windows/VorlaLib.exports records them, this script
# turns the exports of the built objects into the module-definition file, extends the table, and
# checks a built DLL against it.
#
#   windows-exports.sh def    TABLE OUT.def OBJECT...   write the .def (the build runs this)
#   windows-exports.sh update TABLE OBJECT...           append exports the table lacks
#   windows-exports.sh check  TABLE DLL                 the DLL exports exactly the table
#
# The fixed points: the free functions VorlaInitialize .. VorlaGetOS are 1 to 7 (later free functions
# follow from 8); each class's block starts with its default constructor at the class's base. The
# rest of a block is in the order the table records: at first the byte order of the mangled names,
# afterwards each new export appended after the last of its block. Nothing is ever renumbered: an
# export that goes away keeps its line, marked "retired", so its ordinal is never given again.
# The exports of an object are its -export: directives (the .drectve section dllexport leaves).
set -euo pipefail

TRIPLE=x86_64-w64-mingw32
OBJCOPY="${VORLA_OBJCOPY:-$TRIPLE-objcopy}"
OBJDUMP="${VORLA_OBJDUMP:-$TRIPLE-objdump}"
CXXFILT="${VORLA_CXXFILT:-$TRIPLE-c++filt}"

# class base end (inclusive): the blocks. The free functions own 1..99.
BLOCKS="
VLFileCtrl 100 199
VLSystemInfo 200 999
VLWindow 1000 1999
VLCheckBox 2000 2999
VLColor 3000 3999
VLComboBox 4000 4999
VLEditBox 5000 5999
VLGraphics 6000 6999
VLGroup 7000 7999
VLImage 8000 8999
VLLabel 9000 9999
VLProgressBar 10000 10999
VLPushButton 11000 11999
VLRadioButton 12000 12999
VLSlider 13000 13999
VLSpin 14000 14999
VLSpinEditBox 15000 15999
VLTab 16000 16999
VLButton 17000 17999
VLListBox 18000 18999
VLThread 19000 19999
VLIcon 20000 20999
VLString 21000 21999
VLCursor 22000 22999
VLScrollArea 23000 23999
"
FREE_FUNCTIONS="VorlaInitialize VorlaMessageLoop VorlaGetEvent VorlaMessageQuit VorlaGetVersion VorlaTerminate VorlaGetOS"

die() { echo "windows-exports: $*" >&2; exit 1; }

# Prints "symbol" or "symbol,data", one per line, sorted, for every dllexport in the objects.
object_exports() {
  local object section
  section="$(mktemp)"
  for object in "$@"; do
    : >"$section"
    "$OBJCOPY" -O binary --only-section=.drectve "$object" "$section" 2>/dev/null || continue
    { cat "$section"; echo; } | tr ' \0' '\n\n' | sed -n 's/^-export:"\{0,1\}\([^",]*\)"\{0,1\}\(,data\)\{0,1\}$/\1\2/p'
  done | LC_ALL=C sort -u
  rm -f "$section"
}

# assign TABLE EXPORTS-FILE: prints the table extended by the exports it lacks ("ordinal symbol" and
# an optional "retired"), keeping every recorded line as it is.
assign() {
  local table="$1" exports="$2"
  awk -v blocks="$BLOCKS" -v free="$FREE_FUNCTIONS" -v owners_file="$3" '
    BEGIN {
      n = split(blocks, rows, "\n")
      for (i = 1; i <= n; i++) if (split(rows[i], b, " ") == 3) { base[b[1]] = b[2]; end[b[1]] = b[3] }
      base["free"] = 1; end["free"] = 99
      count = split(free, f, " ")
      for (i = 1; i <= count; i++) fixed[f[i]] = i
      while ((getline line < owners_file) > 0) { split(line, p, " "); owner[p[1]] = p[2]; function_name[p[1]] = p[3] }
    }
    FNR == NR {   # the table
      print
      if ($0 ~ /^[ \t]*(#|$)/) next
      ord = $1; sym = $2; sub(/,data$/, "", sym)
      if (ord in used) { printf "windows-exports: ordinal %s is given twice in the table\n", ord > "/dev/stderr"; bad = 1 }
      used[ord] = 1; known[sym] = 1
      o = owner[sym]; if (o != "" && (!(o in last) || ord + 0 > last[o])) last[o] = ord + 0
      next
    }
    {             # a built export
      sym = $1; plain = sym; sub(/,data$/, "", plain)
      if (plain in known) next
      o = owner[plain]
      if (o == "" || !(o in base)) { printf "windows-exports: %s belongs to no exported class\n", sym > "/dev/stderr"; bad = 1; next }
      if (o == "free") {
        if (function_name[plain] in fixed) ord = fixed[function_name[plain]]
        else ord = (o in last && last[o] > count) ? last[o] + 1 : count + 1
      } else if (plain ~ ("^_ZN" length(o) o "C1Ev$")) {
        ord = base[o]
      } else {
        ord = (o in last) ? last[o] + 1 : base[o] + 1
      }
      if (ord in used) { printf "windows-exports: %s would take ordinal %s, which is given\n", sym, ord > "/dev/stderr"; bad = 1; next }
      if (ord + 0 > end[o] + 0) { printf "windows-exports: the block of %s is full\n", o > "/dev/stderr"; bad = 1; next }
      used[ord] = 1; known[plain] = 1
      if (!(o in last) || ord > last[o]) last[o] = ord
      print ord, sym
    }
    END { exit bad }
  ' "$table" "$exports"
}

# Lists "symbol owner" for the symbols in the files given.
owners() {
  cat "$@" | awk '!/^[ \t]*(#|$)/ { print ($1 ~ /^[0-9]+$/) ? $2 : $1 }' | LC_ALL=C sort -u | awk '
    { s = $0; sub(/,data$/, "", s) }
    match(s, /^_ZNK?[0-9]+/) { digits = substr(s, 1, RLENGTH); gsub(/[^0-9]/, "", digits)
                               print s, substr(s, RLENGTH + 1, digits + 0); next }
    match(s, /^_Z[0-9]+Vorla/) { digits = substr(s, 3, RLENGTH - 7); print s, "free", substr(s, 3 + length(digits), digits + 0); next }
    { print s }'
}

# Builds the new table lines for the exports the table lacks, default constructors first so that
# each takes its base, then in byte order.
extend() {
  local table="$1" exports="$2" work
  work="$(mktemp -d)"
  owners "$table" "$exports" >"$work/owners"
  { grep -E 'C1Ev(,data)?$' "$exports" || true; grep -Ev 'C1Ev(,data)?$' "$exports" || true; } >"$work/ordered"
  assign "$table" "$work/ordered" "$work/owners" >"$work/table" || { rm -rf "$work"; return 1; }
  cat "$work/table"
  rm -rf "$work"
}

# Sorts a table's entries by ordinal and demangles each into a trailing comment.
format_table() {
  local header="$1"
  cat "$header"
  grep -Ev '^[ \t]*(#|$)' | sort -n -k1,1 | while read -r ord sym rest; do
    rest="${rest%%#*}"; rest="${rest%% }"
    printf '%s %s%s  # %s\n' "$ord" "$sym" "${rest:+ $rest}" "$("$CXXFILT" "${sym%,data}")"
  done
}

cmd="${1:-}"; shift || true
case "$cmd" in
  def)
    [[ $# -ge 3 ]] || die "usage: def TABLE OUT.def OBJECT..."
    table="$1" out="$2"; shift 2
    work="$(mktemp -d)"; trap 'rm -rf "$work"' EXIT
    object_exports "$@" >"$work/exports"
    [[ -s "$work/exports" ]] || die "the objects export nothing"
    extend "$table" "$work/exports" >"$work/table"
    if [[ "$(grep -Evc '^[ \t]*(#|$)' "$work/table")" != "$(grep -Evc '^[ \t]*(#|$)' "$table")" ]]; then
      echo "windows-exports: exports without a recorded ordinal (given the next free ones here;" \
           "record them with scripts/windows-exports.sh update):" >&2
      diff <(grep -Ev '^[ \t]*(#|$)' "$table") <(grep -Ev '^[ \t]*(#|$)' "$work/table") | sed -n "s/^> /  /p" >&2 || true
    fi
    {
      echo "; Generated by scripts/windows-exports.sh from the objects and windows/VorlaLib.exports."
      echo "LIBRARY VorlaLib.dll"
      echo "EXPORTS"
      # Only what the objects export: retired lines keep their ordinal out of use.
      grep -Ev '^[ \t]*(#|$)' "$work/table" | awk 'NR == FNR { built[$1] = 1; next }
        $3 != "retired" && ($2 in built) { sym = $2; data = sub(/,data$/, "", sym); print "  " sym " @" $1 (data ? " DATA" : "") }' \
        "$work/exports" - | sort -t@ -k2,2n
    } >"$out.tmp"
    mv "$out.tmp" "$out"
    ;;
  update)
    [[ $# -ge 2 ]] || die "usage: update TABLE OBJECT..."
    table="$1"; shift
    work="$(mktemp -d)"; trap 'rm -rf "$work"' EXIT
    object_exports "$@" >"$work/exports"
    [[ -s "$work/exports" ]] || die "the objects export nothing"
    [[ -f "$table" ]] || : >"$table"
    extend "$table" "$work/exports" >"$work/table"
    grep -E '^[ \t]*#' "$table" >"$work/header" || true
    # Recorded exports that are no longer built are retired, never renumbered or given away.
    awk 'NR == FNR { built[$1] = 1; next } /^[ \t]*(#|$)/ { next }
      { sym = $2; sub(/,data$/, "", sym); if (!(sym in built) && !(sym ",data" in built) && $3 != "retired") { $3 = "retired" } print }' \
      "$work/exports" "$work/table" | format_table "$work/header" >"$table.tmp"
    mv "$table.tmp" "$table"
    echo "windows-exports: $table has $(grep -Evc '^[ \t]*(#|$)' "$table") entries" >&2
    ;;
  check)
    [[ $# -eq 2 ]] || die "usage: check TABLE DLL"
    table="$1" dll="$2"
    work="$(mktemp -d)"; trap 'rm -rf "$work"' EXIT
    # objdump -p lists each name beside its ordinal less the ordinal base.
    "$OBJDUMP" -p "$dll" >"$work/dump"
    awk '/^Ordinal Base/ { base = $NF + 0 }
      /^Export Address Table/ { on = "address"; next }
      /^\[Ordinal\/Name Pointer\] Table/ { on = "names"; next }
      on == "address" && /^[ \t]*\[ *[0-9]+\] \+base/ { if ($(NF - 2) != "0") addresses++; next }
      on == "names" && /^[ \t]*\[ *[0-9]+\] / { line = $0; sub(/^[ \t]*\[ */, "", line); n = line; sub(/\].*/, "", n)
                                             sub(/^[0-9]+\] /, "", line); print n + base, line; names++; next }
      !/^[ \t]*$/ { on = "" }
      # An address without a name is an export by ordinal alone, which the table cannot record.
      END { if (addresses != names) print "0 (" addresses - names " exports by ordinal alone)" }' "$work/dump" | sort -n >"$work/dll"
    [[ -s "$work/dll" ]] || die "$dll exports nothing"
    # The fixed points are checked on the DLL itself, so that an edited table cannot move them.
    failed=0
    i=0
    for name in $FREE_FUNCTIONS; do
      i=$((i + 1))
      grep -Eq "^$i _Z${#name}${name}[A-Za-z]" "$work/dll" || { echo "windows-exports: $name is not ordinal $i" >&2; failed=1; }
    done
    while read -r class base _; do
      [[ -n "$class" ]] || continue
      grep -Fxq "$base _ZN${#class}${class}C1Ev" "$work/dll" \
        || { echo "windows-exports: the default constructor of $class is not ordinal $base" >&2; failed=1; }
    done <<<"$BLOCKS"
    [[ $failed -eq 0 ]] || exit 1
    grep -Ev '^[ \t]*(#|$)' "$table" | awk '$3 != "retired" { sub(/,data$/, "", $2); print $1, $2 }' | sort -n >"$work/table"
    if ! diff -u "$work/table" "$work/dll" >"$work/diff"; then
      echo "windows-exports: $dll does not export what $table records:" >&2
      sed -n 's/^-\([0-9]\)/  missing or moved:  \1/p; s/^+\([0-9]\)/  unexpected:        \1/p' "$work/diff" >&2
      exit 1
    fi
    echo "windows-exports: $dll exports all $(wc -l <"$work/dll") recorded names at their ordinals"
    ;;
  *) die "usage: windows-exports.sh def|update|check ..." ;;
esac
