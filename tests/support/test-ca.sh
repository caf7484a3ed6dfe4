#!/usr/bin/env bash
# Makes the test certificate authority of one build tree in DIR, unless a valid one is there:
#   ca.pem / ca.key              the authority (trusted only inside the test Wine prefixes)
#   server.pem / .key            127.0.0.1, from the authority
#   expired.pem / .key           127.0.0.1, from the authority, expired yesterday
#   wrongname.pem / .key         another host's name, from the authority
#   selfsigned.pem / .key        127.0.0.1, signed by itself
set -euo pipefail
dir=$1
mkdir -p "$dir"
cd "$dir"
if [ -f ca.pem ] && [ -f selfsigned.key ] && openssl x509 -in ca.pem -noout -checkend 604800 >/dev/null 2>&1 &&
    openssl x509 -in server.pem -noout -checkend 604800 >/dev/null 2>&1; then
    exit 0
fi
rm -f ./*.pem ./*.key ./*.csr ./*.srl ./*.cnf
quiet() { "$@" >/dev/null 2>&1 || { echo "test-ca: $* failed" >&2; "$@"; exit 1; }; }
quiet openssl req -x509 -newkey rsa:2048 -nodes -sha256 -keyout ca.key -out ca.pem -days 3650 \
    -subj "/CN=Quenby Test Authority $(date +%s)" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign"
# Wine matches the host against DNS names only; Windows also against IP addresses.
leaf() { # NAME HOST DAYS [self]
    local name=$1 host=$2 days=$3
    printf 'subjectAltName=DNS:%s,IP:127.0.0.1\nextendedKeyUsage=serverAuth\nbasicConstraints=CA:FALSE\n' "$host" >"$name.cnf"
    [ "$host" = 127.0.0.1 ] || printf 'subjectAltName=DNS:%s\nextendedKeyUsage=serverAuth\nbasicConstraints=CA:FALSE\n' "$host" >"$name.cnf"
    quiet openssl req -newkey rsa:2048 -nodes -sha256 -keyout "$name.key" -out "$name.csr" -subj "/CN=$host"
    if [ "${4:-}" = self ]; then
        quiet openssl x509 -req -sha256 -in "$name.csr" -signkey "$name.key" -out "$name.pem" -days "$days" -extfile "$name.cnf"
    else
        quiet openssl x509 -req -sha256 -in "$name.csr" -CA ca.pem -CAkey ca.key -CAcreateserial -out "$name.pem" \
            -days "$days" -extfile "$name.cnf"
    fi
    rm -f "$name.csr" "$name.cnf"
}
leaf server 127.0.0.1 825
leaf expired 127.0.0.1 -1
leaf wrongname wrong-host.invalid 825
leaf selfsigned 127.0.0.1 825 self
