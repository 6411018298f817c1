#!/usr/bin/env bash
# The engine's folders form layers: a folder includes only the folders listed for it below, so
# that no two folders include each other and nothing reaches up. The core also builds without a
# window, GL or audio: only src/platform/ may include SDL, OpenGL, OpenAL, FreeType, fontconfig,
# iconv or operating-system headers, and only the entry point (src/app/main.cpp) reaches the
# platform folder. docs/architecture.md explains the layers.
set -euo pipefail
src="$1/src"

# folder: the folders it may include (besides itself), lowest first.
declare -A allowed=(
  [base]=""
  [math]=""
  [save]="base"
  [gfx]="base math"
  [sound]="base"
  [model]="base math gfx"
  [world]="base math gfx sound model"
  [ui]="base math gfx sound world"
  [script]="base math gfx sound model world ui"
  [field]="base math gfx sound model world ui script save"
  [battle]="base math gfx sound model world ui script"
  [check]="base math gfx sound model world ui script field battle"
  [app]="base math gfx sound model world ui script field battle save check"
  [platform]="base math gfx sound"
)

failed=0
for dir in "$src"/*/; do
  folder=$(basename "$dir")
  if [[ -z ${allowed[$folder]+set} ]]; then
    echo "src/$folder/: a folder the layer list does not know; add it to tests/check_layers.sh"
    failed=1
    continue
  fi
  while IFS=: read -r file line text; do
    [[ $text =~ ^#[[:space:]]*include[[:space:]]*\"([a-z_]+)/ ]] || continue
    target=${BASH_REMATCH[1]}
    [[ $target == "$folder" ]] && continue
    [[ " ${allowed[$folder]} " == *" $target "* ]] && continue
    [[ $target == platform && $file == "$src/app/main.cpp" ]] && continue
    echo "${file#"$1"/}:$line: $folder/ may not include $target/ ($text)"
    failed=1
  done < <(grep -rnE '^#\s*include\s*"[a-z_]+/' "$dir" --include='*.h' --include='*.cpp' || true)
done

pattern='#\s*include\s*[<"](SDL|GL/|epoxy/|AL/|al\.h|alc\.h|ft2build|freetype/|fontconfig/|iconv\.h|unistd\.h|fcntl\.h|sys/|windows\.h|dlfcn\.h|pthread\.h|dirent\.h)'
if grep -rnE "$pattern" "$src" --include='*.h' --include='*.cpp' | grep -v "^$src/platform/"; then
  echo "platform headers outside src/platform/ (listed above)"
  failed=1
fi

if [[ $failed -ne 0 ]]; then
  echo "0 passed, 1 failed"
  exit 1
fi
echo "1 passed, 0 failed"
