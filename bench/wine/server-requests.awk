# Counts the Wine server requests each program makes inside the brackets that
# bench_driver.exe --marks writes, from a run traced with WINEDEBUG=+server: the server's
# trace ("0140: get_message( ... )" for a request of thread 0140, "0140: get_message() = 0 {...}"
# for its reply) and the driver's lines ("bench: mark pid vuedeck 013c", "bench: mark begin
# vuedeck-switch", "bench: mark end vuedeck-switch 142.5") come mixed on one stream.
#
# Prints one line per kind of bracket:
#   LABEL BRACKETS WALL_MS REQUESTS name=count name=count ... timer:ID=count ...
# with the request names most frequent first (at most 12), then the WM_TIMER messages the
# program received, by timer id. A request counts for a bracket of the program that made it
# ("vuedeck-switch" takes vuedeck's requests only). Then, for each kind of bracket, the requests
# every other process made meanwhile (the windows' own threads, Wine's desktop with its task
# bar): "others LABEL BRACKETS REQUESTS".

function tid_of(line) { return substr(line, 1, 4) }
function is_tid(line) { return line ~ /^[0-9a-f][0-9a-f][0-9a-f][0-9a-f]: / }

{ sub(/\r$/, "") }  # the driver's lines end in CR LF

/^bench: mark pid / { program[$5] = $4; next }
/^bench: mark begin / { active = $4; next }
/^bench: mark end / {
  if (!($4 in brackets)) order[++labels] = $4
  brackets[$4]++
  wall[$4] += $5
  active = ""
  next
}

# Which process each thread belongs to: a process's first thread says so when it starts; a
# thread started later belongs to the process of the thread that started it.
is_tid($0) && index($0, ": init_first_thread() = 0 { pid=") == 5 {
  p = $0
  sub(/.*\{ pid=/, "", p)
  process[tid_of($0)] = substr(p, 1, 4)
  next
}
is_tid($0) && index($0, ": new_thread() = 0 { tid=") == 5 {
  t = $0
  sub(/.*\{ tid=/, "", t)
  process[substr(t, 1, 4)] = process[tid_of($0)]
  next
}

active != "" && is_tid($0) {
  t = tid_of($0)
  if (!(t in process) || !(process[t] in program)) {
    if (index($0, "() =") == 0 && substr($0, 7) ~ /^[a-z_0-9]+\(/) others[active]++
    next
  }
  if (index(active, program[process[t]] "-") != 1) next
  rest = substr($0, 7)
  open = index(rest, "(")
  if (open < 2) next
  name = substr(rest, 1, open - 1)
  if (name ~ /[^a-z_0-9]/) next
  if (substr(rest, open, 4) == "() =") {  # a reply, not a request
    if (name == "get_message" && index(rest, "msg=00000113, wparam=") > 0) {
      id = rest
      sub(/.*msg=00000113, wparam=0*/, "", id)
      sub(/,.*/, "", id)
      if (id == "") id = "0"
      if (!((active, id) in timer)) timers[active] = timers[active] " " id
      timer[active, id]++
    }
    next
  }
  if (!((active, name) in count)) kinds[active] = kinds[active] " " name
  count[active, name]++
  total[active]++
}

END {
  for (i = 1; i <= labels; i++) {
    label = order[i]
    line = label " " brackets[label] " " wall[label] " " (total[label] + 0)
    n = split(kinds[label], list, " ")
    for (shown = 0; shown < 12 && n > 0; shown++) {
      best = 0
      for (j = 1; j <= n; j++) {
        if (list[j] != "" && (best == 0 || count[label, list[j]] > count[label, list[best]])) best = j
      }
      if (best == 0) break
      line = line " " list[best] "=" count[label, list[best]]
      list[best] = ""
    }
    n = split(timers[label], ids, " ")
    for (j = 1; j <= n; j++) line = line " timer:" ids[j] "=" timer[label, ids[j]]
    print line
  }
  for (i = 1; i <= labels; i++) print "others " order[i] " " brackets[order[i]] " " (others[order[i]] + 0)
}
