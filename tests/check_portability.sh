#!/usr/bin/env bash
# The engine runs wherever SDL, OpenGL and OpenAL do: only src/platform/ may call the operating
# system's own interfaces. Outside it (the engine's other folders and the content builder) this
# check refuses calls that POSIX or Linux have and the C++ standard does not (glibc declares many
# of them in the standard headers, so the compilers let them pass), and the Linux-only files
# under /proc and /dev. The operating system's headers are check_layers.sh's.
set -euo pipefail
root="$1"

calls='getpid|getppid|getuid|geteuid|fork|execl|execlp|execv|execvp|execve|waitpid|popen|pclose'
calls+='|fileno|fdopen|isatty|setenv|unsetenv|realpath|mkstemp|mkdtemp|readlink|symlink'
calls+='|strcasecmp|strncasecmp|strsep|strtok_r|localtime_r|gmtime_r|usleep|nanosleep'
calls+='|clock_gettime|gettimeofday|mmap|munmap|dlopen|dlsym|dlclose|ioctl|flock|sysconf'
calls+='|pthread_[a-z_]+|epoll_[a-z_]+|inotify_[a-z_]+|getpwuid|getpwnam|sigaction|kill'
# A call: the name not after a member access or a scope, then an opening parenthesis.
pattern="(^|[^A-Za-z0-9_.>:])($calls)[[:space:]]*\\(|\"/(proc|dev)/"

found=$(grep -rnE "$pattern" "$root/src" "$root/tools" --include='*.h' --include='*.cpp' |
  grep -v "^$root/src/platform/" | grep -vE '^[^:]+:[0-9]+:[[:space:]]*//' || true)
if [[ -n $found ]]; then
  echo "${found//"$root/"/}"
  echo "operating-system calls outside src/platform/ (listed above): give the platform an"
  echo "interface for them (base/host.h) or use the standard library"
  echo "0 passed, 1 failed"
  exit 1
fi
echo "1 passed, 0 failed"
