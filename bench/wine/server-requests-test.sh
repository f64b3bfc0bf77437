#!/bin/sh
# Tests server-requests.awk on a made-up trace: the driver's marks (with the CR LF line ends a
# Windows program writes), the server's request and reply lines of several processes, a thread
# started by a program, timer messages, and a line of another process cut into the middle.
#   server-requests-test.sh PATH/TO/server-requests.awk
set -eu
awk_script=$1
cr=$(printf '\r')

trace() {
  cat <<EOF
0024: init_first_thread( unix_pid=100, unix_tid=100 )
0024: init_first_thread() = 0 { pid=0020, tid=0024, server_start=0 }
0144: init_first_thread() = 0 { pid=0140, tid=0144, server_start=0 }
0174: init_first_thread() = 0 { pid=0170, tid=0174, server_start=0 }
0144: new_thread( process=ffffffff )
0144: new_thread() = 0 { tid=0150, handle=0040 }
0144: get_message( flags=0 )
bench: mark pid vuedeck 0140$cr
bench: mark pid bare 0170$cr
bench: mark begin vuedeck-switch$cr
0024: send_hardware_message( win=00000000 )
0144: get_window_info( handle=0001012a )
0144: get_window_info() = 0 { full_handle=0001012a }
0144: send_message( id=0088, type=0 )
0150: get_window_info( handle=0001012b )
0174: get_window_info( handle=0001012c )
0144: get_message( flags=0 )
0144: get_message() = 0 { win=0001012a, msg=00000113, wparam=00000003, lparam=0 }
0144: get_message( flags=0 )
0144: get_message() = 0 { win=0001012a, msg=00000113, wparam=00000004, lparam=0 }
0144: get_message( flags=0 )
0144: get_message() = 0 { win=0001012a, msg=00000113, wparam=00000003, lparam=0 }
0144: get_message( flags=0 )
0144: get_message() = 0 { win=0001012a, msg=0000000f, wparam=00000000, lparam=0 }
bench: mark end vuedeck-switch 35.5$cr
0144: get_window_info( handle=0001012a )
bench: mark begin bare-switch$cr
0144: set_window_pos( handle=0001012a )
0174: send_message( id=0088, type=0 )
0174: send_message( id=0088, type=0 )
0174: get_message_repbench: mark pid nobody 0300
0174: select( flags=2 )
bench: mark end bare-switch 120.25$cr
bench: mark begin vuedeck-switch$cr
0144: get_window_info( handle=0001012a )
bench: mark end vuedeck-switch 40.5$cr
EOF
}

got=$(trace | awk -f "$awk_script")
want="vuedeck-switch 2 76 8 get_message=4 get_window_info=3 send_message=1 timer:3=2 timer:4=1
bare-switch 1 120.25 3 send_message=2 select=1
others vuedeck-switch 2 1
others bare-switch 1 0"
if [ "$got" != "$want" ]; then
  echo "server-requests.awk counted wrongly."
  echo "want:"; echo "$want"
  echo "got:"; echo "$got"
  exit 1
fi
echo "server-requests.awk: counts as expected"
