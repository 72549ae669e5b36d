#!/usr/bin/env bash
# Start or stop the shared environment of an end-to-end test run: a private Xvfb display,
# openbox, and a Wine prefix with a persistent wineserver. ctest runs "up" as the fixture
# set-up and "down" as its clean-up; by hand:
#
#   tests/e2e/e2e-env.sh up       # then run test scripts, they join this environment
#   tests/e2e/e2e-env.sh status
#   tests/e2e/e2e-env.sh down
#
# Exit code 77 (skipped) only when Wine or Xvfb is not installed.

E2E_TEST_NAME="env"
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

case ${1:-} in
  up)
    e2e_require_tools
    e2e_env_up || e2e_fail "environment did not come up (logs in $E2E_STATE_DIR)"
    e2e_info "up: DISPLAY=$E2E_DISPLAY WINEPREFIX=$WINEPREFIX APPDATA=$E2E_APPDATA_WIN"
    ;;
  down)
    e2e_env_down
    e2e_info "down"
    ;;
  status)
    if _e2e_state_alive; then
      cat "$E2E_STATE_DIR/env"
    else
      echo "not running (state folder $E2E_STATE_DIR)"
      exit 1
    fi
    ;;
  *)
    echo "usage: $0 up|down|status" >&2
    exit 2
    ;;
esac
