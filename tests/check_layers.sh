#!/usr/bin/env bash
# The engine core must build without a window, GL or audio: only src/platform/ may include
# SDL, OpenGL, OpenAL, FreeType, fontconfig, iconv or operating-system headers.
set -euo pipefail
src="$1/src"
pattern='#\s*include\s*[<"](SDL|GL/|epoxy/|AL/|al\.h|alc\.h|ft2build|freetype/|fontconfig/|iconv\.h|unistd\.h|fcntl\.h|sys/|windows\.h|dlfcn\.h|pthread\.h|dirent\.h)'
if grep -rnE "$pattern" "$src" --include='*.h' --include='*.cpp' | grep -v "^$src/platform/"; then
  echo "platform headers outside src/platform/ (listed above)"
  exit 1
fi
echo "1 passed, 0 failed"
