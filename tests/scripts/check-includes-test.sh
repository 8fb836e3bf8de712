#!/usr/bin/env bash
# The include-direction check on small trees: each case plants one include in one folder and
# says whether the check must pass or fail.
set -uo pipefail
check="$(cd "$(dirname "$0")/../.." && pwd)/scripts/check-includes"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# file | include line | expected (pass or fail)
cases=(
  'src/platform/Ini.cpp|#include "platform/Codec.h"|pass'
  'src/platform/Ini.cpp|#include <QString>|pass'
  'src/platform/Ini.cpp|#include "common/Helpers.h"|fail'
  'src/platform/Ini.cpp|#include "state/TableState.h"|fail'
  'src/common/Helpers.cpp|#include "platform/Ini.h"|pass'
  'src/common/Helpers.cpp|#include "common/Numbers.h"|pass'
  'src/common/Helpers.cpp|#include "state/TableState.h"|fail'
  'src/common/Helpers.cpp|#include "services/LogMgmt.h"|fail'
  'src/common/Helpers.h|#include <QtCore/QString>|fail'
  'src/state/GameMgmt.cpp|#include "services/DiceRoller.h"|fail'
  'src/state/GameMgmt.cpp|#include "table/MainForm.h"|fail'
  'src/state/DecksMgmt.cpp|#include "net/MultiplayerMgmt.h"|fail'
  'src/state/DecksMgmt.cpp|#include "controls/TranspImg.h"|fail'
  'src/state/DecksMgmt.cpp|#include "../table/MainForm.h"|fail'
  'src/state/DecksMgmt.cpp|  #  include "table/MainForm.h"|fail'
  'src/editor/WizardForm.cpp|#include "common/Helpers.h"|pass'
  'src/editor/WizardForm.cpp|#include "state/GameMgmt.h"|fail'
  'src/editor/WizardForm.cpp|#include "services/Evaluator.h"|fail'
  'src/table/MainForm.cpp|#include "state/GameMgmt.h"|pass'
  'src/table/MainForm.cpp|#include <QWidget>|fail'
  'src/controls/TranspImg.h|#include <qglobal.h>|fail'
  'src/services/LogMgmt.cpp|#include <queue>|pass'
  'src/services/LogMgmt.cpp|#include "state/TableState.h"|pass'
  'src/services/LogMgmt.cpp|#include "controls/TranspImg.h"|fail'
  'src/controls/TranspImg.cpp|#include "services/DiceRoller.h"|pass'
  'src/controls/TranspImg.cpp|#include "table/MainForm.h"|fail'
  'src/table/MainForm.cpp|#include "controls/TranspImg.h"|pass'
  'src/table/MainForm.cpp|#include "start/SaveForm.h"|fail'
  'src/table/MainForm.cpp|#include "editor/MainForm.h"|fail'
  'src/net/ConnectionForm.cpp|#include "table/MainForm.h"|pass'
  'src/net/ConnectionForm.cpp|#include "start/SavedGamesForm.h"|fail'
  'src/start/StartWindows.h|#include "net/ConnectionForm.h"|pass'
  'src/start/StartWindows.h|#include "app/KarvelMain.h"|fail'
  'src/start/StartWindows.h|#include "editor/MainForm.h"|fail'
  'src/editor/MainForm.cpp|#include "start/StartForm.h"|fail'
  'src/app/KarvelMain.cpp|#include "start/StartWindows.h"|pass'
  'src/app/WizardMain.cpp|#include "editor/MainForm.h"|pass'
  'src/extra/Thing.cpp|#include "platform/Ini.h"|fail'
  'src/extra/Thing.cpp|#include <vector>|pass'
)

failures=0
for entry in "${cases[@]}"; do
  IFS='|' read -r file include expected <<<"$entry"
  tree="$tmp/tree"
  rm -rf "$tree"
  mkdir -p "$tree/$(dirname "$file")"
  printf '// planted\n#include <string>\n%s\n' "$include" >"$tree/$file"
  if "$check" "$tree" 2>"$tmp/out"; then got=pass; else got=fail; fi
  if [[ $got != "$expected" ]]; then
    echo "FAILED: $file with '$include' should $expected, did $got" >&2
    cat "$tmp/out" >&2
    failures=$((failures + 1))
  elif [[ $got == fail ]] && ! grep -q "$file:3:" "$tmp/out"; then
    echo "FAILED: $file with '$include' failed without naming the file and line" >&2
    cat "$tmp/out" >&2
    failures=$((failures + 1))
  fi
done

# The repository itself keeps the directions.
if ! "$check" >/dev/null 2>"$tmp/out"; then
  echo "FAILED: the repository's own includes" >&2
  cat "$tmp/out" >&2
  failures=$((failures + 1))
fi

if ((failures > 0)); then exit 1; fi
echo "${#cases[@]} planted includes judged as expected"
