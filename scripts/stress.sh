#!/usr/bin/env bash
# The reference and handle stress at full scale (100,000 objects per class, 10,000 registry
# loads per key class, 100 dialogs under Xvfb), with its figures per phase. CI runs the same
# check at a reduced scale through scripts/client-tests.sh.
# Usage: scripts/stress.sh [scale]
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
export BREVANTO_STRESS_SCALE=${1:-100000}
BREVANTO_CLIENT_SUITES='stress.sh' nice -n 10 bash "$root/scripts/client-tests.sh"
