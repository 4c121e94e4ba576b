# Ziduver: the two commands a newcomer needs are `make run` and `make test`.
BUILD_DIR ?= build
HOME_DIR ?= $(BUILD_DIR)/home
JOBS ?= $(shell nproc)

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
# it is off in the suite and stays on in the fuzz runs.
SAN_ENV = ASAN_OPTIONS=new_delete_type_mismatch=0:detect_leaks=1:abort_on_error=1:strict_init_order=1:check_initialization_order=1 \
          LSAN_OPTIONS=suppressions=$(CURDIR)/tools/sanitizers/lsan.supp:print_suppressions=0 \
          UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:suppressions=$(CURDIR)/tools/sanitizers/ubsan.supp

.PHONY: all deps configure build test run bench sample clean \
        configure-sanitized build-sanitized test-sanitized fuzz

all: build

deps:
	@./tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

$(BUILD_DIR)/runtime:
	@mkdir -p $@ && chmod 700 $@

test: build $(BUILD_DIR)/runtime
	@cd $(BUILD_DIR) && $(TEST_ENV) ctest --output-on-failure -j $(JOBS)

configure-sanitized: deps
	@cmake -S . -B $(SAN_BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS="$(SAN_FLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld -DZIDUVER_FUZZ=ON > /dev/null

build-sanitized: configure-sanitized
	@cmake --build $(SAN_BUILD_DIR) -j $(JOBS)

$(SAN_BUILD_DIR)/runtime:
	@mkdir -p $@ && chmod 700 $@

# The whole test suite again in the sanitized build.
test-sanitized: build-sanitized $(SAN_BUILD_DIR)/runtime
	@cd $(SAN_BUILD_DIR) && $(TEST_ENV:$(BUILD_DIR)/runtime=$(SAN_BUILD_DIR)/runtime) $(SAN_ENV) \
	  ctest --output-on-failure -j $(JOBS)

# Every fuzz target for FUZZ_SECONDS, all at once, after its seed corpus.
fuzz: build-sanitized
	@./tools/fuzz.sh $(SAN_BUILD_DIR) $(FUZZ_SECONDS)

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
