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

.PHONY: all deps configure build test run bench sample clean

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

clean:
	@rm -rf $(BUILD_DIR)
