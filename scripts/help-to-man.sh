#!/usr/bin/env bash
# Turns a program's --help text into a manual page, so that the page always says what the
# program says. Usage: help-to-man.sh NAME SECTION SUMMARY VERSION < help.txt > NAME.SECTION
# The first line of the help ("Usage: ..." or "usage: ...") becomes the synopsis, the rest the
# description, kept as it is laid out.
set -euo pipefail
name=$1
section=$2
summary=$3
version=$4
upper=$(printf '%s' "$name" | tr '[:lower:]-' '[:upper:]_')
# Backslashes are doubled and a line starting with a dot or a quote is protected from roff.
escape() { sed -e 's/\\/\\e/g' -e 's/-/\\-/g' -e "s/^\\([.']\\)/\\\\\\&\\1/"; }
first=true
synopsis=()
body=()
while IFS= read -r line; do
  if $first; then
    first=false
    synopsis+=("${line#[Uu]sage: }")
    continue
  fi
  # Continuation lines of a multi-line usage (they start with spaces and the name).
  if [ ${#body[@]} -eq 0 ] && [[ "$line" =~ ^[[:space:]]+$name ]]; then
    synopsis+=("$(printf '%s' "$line" | sed 's/^[[:space:]]*//')")
    continue
  fi
  body+=("$line")
done
printf '.TH %s %s "" "Korvane %s" "User Commands"\n' "$upper" "$section" "$version"
printf '.SH NAME\n%s \\- %s\n' "$name" "$(printf '%s' "$summary" | escape)"
printf '.SH SYNOPSIS\n.nf\n'
for line in "${synopsis[@]}"; do printf '%s\n' "$line" | escape; done
printf '.fi\n.SH DESCRIPTION\n.nf\n'
for line in "${body[@]}"; do printf '%s\n' "$line" | escape; done
printf '.fi\n'
