#!/bin/sh
# Creates a small freedesktop setup under <dir> in which files named
# *.tessaltest have the type application/x-tessal-test, opened by default with
# <dir>/bin/tessal-test-viewer. Use it with
#   XDG_DATA_HOME=<dir>/data XDG_DATA_DIRS=<dir>/data:/usr/share XDG_CONFIG_HOME=<dir>/config
# Prints nothing; exits non-zero when something cannot be created.
set -eu

if [ "$#" -ne 1 ] || [ -z "$1" ]; then
    echo "usage: $0 <dir>" >&2
    exit 2
fi
mkdir -p "$1"
root=$(cd "$1" && pwd)
# The path goes unquoted into the Exec line, where GIO splits at spaces.
case "$root" in
    *[[:space:]\"\'\`\$\\%]*)
        echo "$0: $root: use a directory path without spaces, quotes, '\$', '%' or backslashes" >&2
        exit 2 ;;
esac

mkdir -p "$root/data/mime/packages" "$root/data/applications" "$root/config" "$root/bin"

cat >"$root/data/mime/packages/tessal-test.xml" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type="application/x-tessal-test">
    <comment>Tessal test document</comment>
    <glob pattern="*.tessaltest"/>
  </mime-type>
</mime-info>
EOF
update-mime-database "$root/data/mime" >/dev/null 2>&1

cat >"$root/bin/tessal-test-viewer" <<'EOF'
#!/bin/sh
exit 0
EOF
chmod 755 "$root/bin/tessal-test-viewer"

cat >"$root/data/applications/tessal-test-viewer.desktop" <<EOF
[Desktop Entry]
Type=Application
Name=Tessal Test Viewer
Exec=$root/bin/tessal-test-viewer %f
MimeType=application/x-tessal-test;
NoDisplay=true
EOF

cat >"$root/config/mimeapps.list" <<'EOF'
[Default Applications]
application/x-tessal-test=tessal-test-viewer.desktop
EOF
