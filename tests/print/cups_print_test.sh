#!/usr/bin/env bash
# Prints through a real print server. Starts CUPS in the foreground as a
# child of this script, with its configuration, spool, state and logs in a
# scratch folder, adds a PDF printer (cups-pdf) as its only queue, and runs
# the test program given as the first argument against it. Where the
# system lets it, the server runs with a private view of /etc/cups, so that
# the PDF printer writes into the scratch folder too; otherwise the PDFs
# land where the system's cups-pdf puts them ($HOME/PDF) and the test
# removes its own. Everything is removed at the end.
# Exits 77 (skipped) when no print server can run here.
set -euo pipefail
program=$1

skip() { echo "skipped: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] || skip "the PDF printer runs only under a server started as root"
for tool in cupsd lpadmin lpstat pdftocairo pdfimages; do
  command -v "$tool" > /dev/null || skip "$tool is not installed"
done
[ -x /usr/lib/cups/backend/cups-pdf ] || skip "cups-pdf is not installed"

scratch=$(mktemp -d /tmp/quil-cups.XXXXXX)
server=""
made_pdf_folder=""
cleanup() {
  if [ -n "$server" ]; then
    kill "$server" 2> /dev/null || true
    wait "$server" 2> /dev/null || true
  fi
  [ -n "$made_pdf_folder" ] && rmdir "$made_pdf_folder" 2> /dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT

# The filters run as the unprivileged print user: it must reach the
# scratch folders and write temporary files.
chmod 755 "$scratch"
mkdir -p "$scratch"/{conf,spool,cache,state,log,tmp,pdf,pdf-spool,etc-cups}
chmod 755 "$scratch"/{conf,spool,cache,state,log,pdf,pdf-spool,etc-cups}
chmod 1777 "$scratch/tmp"
socket=$scratch/cups.sock

cat > "$scratch/conf/cupsd.conf" << END
Listen $socket
LogLevel info
Browsing No
WebInterface No
ErrorPolicy abort-job
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
END
cat > "$scratch/conf/cups-files.conf" << END
ServerRoot $scratch/conf
RequestRoot $scratch/spool
CacheDir $scratch/cache
StateDir $scratch/state
TempDir $scratch/tmp
AccessLog $scratch/log/access_log
ErrorLog $scratch/log/error_log
PageLog $scratch/log/page_log
SystemGroup root
END
# cups-pdf reads its settings from /etc/cups, whatever server runs it.
cat > "$scratch/etc-cups/cups-pdf.conf" << END
Out $scratch/pdf
Spool $scratch/pdf-spool
AnonDirName $scratch/pdf
Log $scratch/log
END

start=(cupsd -f -c "$scratch/conf/cupsd.conf" -s "$scratch/conf/cups-files.conf")
if unshare --mount --propagation private true 2> /dev/null; then
  pdf_folder=$scratch/pdf
  unshare --mount --propagation private sh -c \
    'mount --bind "$0" /etc/cups && exec "$@"' "$scratch/etc-cups" "${start[@]}" \
    > "$scratch/log/server" 2>&1 &
else
  pdf_folder=$(getent passwd "$(id -un)" | cut -d: -f6)/PDF
  [ -d "$pdf_folder" ] || made_pdf_folder=$pdf_folder
  "${start[@]}" > "$scratch/log/server" 2>&1 &
fi
server=$!

export CUPS_SERVER=$socket
# lpstat -r answers with success whether the server runs or not: read it.
running() { [ "$(LC_ALL=C lpstat -r 2> /dev/null)" = "scheduler is running" ]; }
for _ in $(seq 300); do
  running && break
  kill -0 "$server" 2> /dev/null || break
  sleep 0.1
done
running || { cat "$scratch/log/server"; echo "the print server did not start"; exit 1; }

queue=quil-test
lpadmin -p "$queue" -v cups-pdf:/ -E -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd
lpadmin -d "$queue"

status=0
QUIL_CUPS_QUEUE=$queue QUIL_CUPS_PDF_FOLDER=$pdf_folder "$program" || status=$?
if [ "$status" -ne 0 ]; then
  echo "--- the print server's log"
  tail -n 40 "$scratch/log/error_log" 2> /dev/null || true
fi
exit "$status"
