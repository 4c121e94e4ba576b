# Ziduver: the two commands a newcomer needs are `make run` and `make test`.
BUILD_DIR ?= build
HOME_DIR ?= $(BUILD_DIR)/home
JOBS ?= $(shell nproc)

# The compiler cache, when the machine has one, makes repeat builds quick.
LAUNCHER = $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

# Headless environment for the tests: no display, no GPU, no sandbox (CI runs
# as root, where the browser engine refuses to start sandboxed).
TEST_ENV = QT_QPA_PLATFORM=offscreen \
           QTWEBENGINE_DISABLE_SANDBOX=1 \
           QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu \
           XDG_RUNTIME_DIR=$(CURDIR)/$(BUILD_DIR)/runtime

# The sanitized build: clang with AddressSanitizer and UndefinedBehaviorSanitizer
# in its own folder. The project's code also carries libFuzzer's coverage
# hooks, so the one build serves the whole test suite and the fuzz targets.
SAN_BUILD_DIR ?= build-sanitized
FUZZ_SECONDS ?= 60
SAN_FLAGS = -fsanitize=address,undefined -fno-sanitize-recover=undefined \
            -fno-omit-frame-pointer -fsanitize=fuzzer-no-link
# Leaks are looked for in every test; the suppressions name only findings in
# Qt and the system's libraries, each with its reason. The browser engine
# (Chromium, in Qt WebEngine) frees its own objects by a sized delete of a
# base type, and the sanitizer cannot leave one library out of that check:
# it is off in the suite and stays on in the fuzz runs. The GL driver stays
# loaded until the leak check (tools/sanitizers/keep_gl_driver.c), so what its
# globals hold is not read as leaked from a module that is gone.
SAN_ENV = ASAN_OPTIONS=new_delete_type_mismatch=0:detect_leaks=1:abort_on_error=1:strict_init_order=1:check_initialization_order=1 \
          LSAN_OPTIONS=suppressions=$(CURDIR)/tools/sanitizers/lsan.supp:print_suppressions=0 \
          UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:suppressions=$(CURDIR)/tools/sanitizers/ubsan.supp \
          LD_PRELOAD=$(CURDIR)/$(SAN_BUILD_DIR)/keep-gl-driver.so

.PHONY: all deps configure build test run bench sample clean \
        configure-sanitized build-sanitized test-sanitized fuzz test-all

all: build

deps:
	@./tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(LAUNCHER) > /dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

$(BUILD_DIR)/runtime:
	@mkdir -p $@ && chmod 700 $@

test: build $(BUILD_DIR)/runtime
	@cd $(BUILD_DIR) && $(TEST_ENV) ctest --output-on-failure -j $(JOBS)

configure-sanitized: deps
	@cmake -S . -B $(SAN_BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(LAUNCHER) \
	  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS="$(SAN_FLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld -DZIDUVER_FUZZ=ON > /dev/null

build-sanitized: configure-sanitized
	@cmake --build $(SAN_BUILD_DIR) -j $(JOBS)

$(SAN_BUILD_DIR)/runtime:
	@mkdir -p $@ && chmod 700 $@

# Keeps the GL driver loaded until the leak check (see the file).
$(SAN_BUILD_DIR)/keep-gl-driver.so: tools/sanitizers/keep_gl_driver.c
	@mkdir -p $(SAN_BUILD_DIR) && cc -shared -fPIC -O2 -Wall -Wextra -o $@ $< -ldl

# The whole test suite again in the sanitized build. The leak checker stops
# every thread at exit; with the browser engine's threads its own tracer now
# and then crashes or stalls. So a test that stalls fails after 5 minutes,
# and a failed test runs once more: one that fails twice fails the run, and
# the first failure stays in the output.
test-sanitized: build-sanitized $(SAN_BUILD_DIR)/runtime $(SAN_BUILD_DIR)/keep-gl-driver.so
	@cd $(SAN_BUILD_DIR) && $(TEST_ENV:$(BUILD_DIR)/runtime=$(SAN_BUILD_DIR)/runtime) $(SAN_ENV) \
	  ctest --output-on-failure -j $(JOBS) --timeout 300 --repeat until-pass:2

# Every fuzz target for FUZZ_SECONDS, all at once, after its seed corpus.
fuzz: build-sanitized
	@./tools/fuzz.sh $(SAN_BUILD_DIR) $(FUZZ_SECONDS)

# What CI runs: the ordinary build and its suite, the sanitized build and
# its suite, then every fuzz target for FUZZ_SECONDS. The first failure ends
# it; each step says how long it took.
test-all:
	@for step in test test-sanitized fuzz; do \
	  start=$$(date +%s); \
	  $(MAKE) --no-print-directory $$step || exit 1; \
	  echo "== make $$step: $$(( $$(date +%s) - start )) s"; \
	done

# Lays down the sample installation only when there is none, so a user's
# data in it survives. The exam window's static pages and scripts hold no
# user data and are refreshed every time.
sample: build
	@if [ ! -f $(HOME_DIR)/Ziduver.QZR ]; then $(BUILD_DIR)/ziduver-mkdata --home $(HOME_DIR); \
	else $(BUILD_DIR)/ziduver-mkdata --static-files --home $(HOME_DIR) > /dev/null; fi

run: sample $(BUILD_DIR)/runtime
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display found: run it as  xvfb-run -a make run  (or set DISPLAY)."; \
	else \
	  if [ "$$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi; \
	  XDG_RUNTIME_DIR=$(CURDIR)/$(BUILD_DIR)/runtime $(BUILD_DIR)/ziduver --home $(HOME_DIR); \
	fi

bench: build $(BUILD_DIR)/runtime
	@$(TEST_ENV) $(BUILD_DIR)/bench/ziduver-bench
	@$(TEST_ENV) $(BUILD_DIR)/bench/ziduver-bench-window
	@$(TEST_ENV) $(BUILD_DIR)/bench/ziduver-bench-admin

clean:
	@rm -rf $(BUILD_DIR) $(SAN_BUILD_DIR)
