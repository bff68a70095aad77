# What the shell did, read back from Wine's traces (+menu, +exec, +process).
# shellcheck shell=bash

# The entries of the popup menus built for the last tracking, from the +menu
# trace: "<menu> <flags> <id> <text>" per line (handles and ids in lower-case
# hex without leading zeros). A menu is built right before it is tracked, so
# its entries are the inserts since the tracking before.
menu_inserts() {
  grep -a -E 'trace:menu:(InsertMenuW|NtUserTrackPopupMenuEx)' "$LOG" | awk '
      function hex(text) { sub(/^0x/, "", text); sub(/^0+/, "", text); return tolower(text) }
      /TrackPopupMenuEx/ { count = n; for (i = 1; i <= n; i++) done[i] = it[i]; n = 0; next }
      { h = $0; sub(/.*hMenu /, "", h); sub(/,.*/, "", h)
        f = $0; sub(/.*flags /, "", f); sub(/,.*/, "", f)
        id = $0; sub(/.*, id /, "", id); sub(/,.*/, "", id)
        t = $0; if (t ~ /str L"/) { sub(/.*str L"/, "", t); sub(/"$/, "", t) } else t = ""
        n++; it[n] = hex(h) " " f " " hex(id) " " t }
      END { for (i = 1; i <= count; i++) print done[i] }'
}

tracked_menu() {
  grep -a 'NtUserTrackPopupMenuEx' "$LOG" | tail -1 | sed -E 's/.*hmenu (0x)?0*([0-9a-fA-F]+).*/\2/' |
    tr 'A-F' 'a-f'
}

# The items of the last tracked menu: "<flags> <text>" per line.
tracked_menu_items() {
  local menu
  menu=$(tracked_menu)
  menu_inserts | awk -v m="$menu" '$1 == m { sub(/^[^ ]+ /, ""); f = $1; sub(/^[^ ]+ [^ ]+ ?/, ""); print f, $0 }'
}

# How many submenus the last tracked menu holds, at every depth. Only its
# own tree: Wine builds menus of its own (a window's system menu) meanwhile.
tracked_submenus() {
  menu_inserts | awk -v root="$(tracked_menu)" '
      function walk(m,   i) { for (i = 1; i <= subs[m]; i++) { count++; walk(sub_[m, i]) } }
      $2 == "00000410" { sub_[$1, ++subs[$1]] = $3 }
      END { walk(root); print count + 0 }'
}

# The shell's ShellExecuteA calls from the +exec trace: "file|parameters" per line.
shell_opens() {
  grep -a 'trace:exec:ShellExecuteA ' "$LOG" |
    sed -E 's/.*ShellExecuteA [0-9a-fA-F]+,[^,]*,"(.*)",(.*),(\(null\)|"[^"]*"),[0-9]+$/\1|\2/' |
    sed -E 's/\|"(.*)"$/|\1/; s/\|\(null\)$/|/; s/\\\\/\\/g'
}

# How many menus of the last tracked menu's tree (+menu trace) have not been
# destroyed since it was tracked: the window-manager objects the shell
# still holds for it, as Wine does not count them. Handles by their low word.
undestroyed_menus() {
  local tracked
  tracked=$(grep -an 'NtUserTrackPopupMenuEx' "$LOG" | tail -1 | cut -d: -f1)
  menu_inserts | awk -v trace="$LOG" -v from="$tracked" -v root="$(tracked_menu)" '
      function low(h) { sub(/^0x/, "", h); h = tolower(h); return substr(h, length(h) - 3) }
      function walk(m,   i) { tree[low(m)] = 1; for (i = 1; i <= subs[m]; i++) walk(sub_[m, i]) }
      $2 == "00000410" { sub_[$1, ++subs[$1]] = $3 }
      END {
        walk(root)
        while ((getline line < trace) > 0)
          if (++n > from && line ~ /NtUserDestroyMenu \(/) {
            h = line; sub(/.*\(/, "", h); sub(/\).*/, "", h); delete tree[low(h)] }
        left = 0; for (h in tree) left++; print left }'
}
