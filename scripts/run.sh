#!/usr/bin/env bash
# Builds Vardel and starts it on its starter dictionary (an existing db.mdb is kept).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
build/tools/vardel-mkdb data/names.tsv build/bin/db.mdb
exec build/bin/vardel "$@"
