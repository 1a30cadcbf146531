# Set-up and everyday commands. `make run` and `make test` install what is
# missing, configure and build (Release) in build/.
BUILD ?= build
PACKAGES := cmake g++ make libgtest-dev libeigen3-dev python3-ezdxf locales desktop-file-utils man-db shared-mime-info time libproj-dev proj-data libxml2-utils
# cs2cs, which produced the pinned values of the coordinate-system tests.
PROJ_TOOLS := proj-bin
WINDOW_PACKAGES := qt6-base-dev xvfb xauth poppler-utils xdotool openbox
FUZZ_PACKAGES := clang libclang-rt-14-dev
DEB_PACKAGES := dpkg-dev file lintian
FUZZ_SECONDS ?= 30
SANITIZE_BUILD ?= $(BUILD)-sanitize
SANITIZE_FLAGS := -O1 -g -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer

.PHONY: all deps build run test bench fuzz package clean

all: build

# Installs the Debian packages that are missing (apt-get as root, otherwise
# the one sudo line to run), and the decimal-comma locale the tests run
# the program in.
deps:
	@scripts/install-packages $(PACKAGES) $(PROJ_TOOLS) $(WINDOW_PACKAGES) $(FUZZ_PACKAGES)
	@scripts/generate-locale de_DE.UTF-8

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD) -j$$(nproc)

# The window when a display is available, otherwise the example job through
# the headless runner.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ] && [ -x $(BUILD)/vantrel ]; then \
	  $(BUILD)/vantrel examples/lot.cmd; \
	else \
	  $(BUILD)/vantrel-cli examples/lot.cmd; \
	fi

# A short fuzzing run, the unit and scenario tests once more under address
# and undefined-behaviour sanitizers, then the whole suite of the Release
# build (ctest's summary is the last thing printed).
test: build
	@scripts/fuzz $(BUILD)/fuzz $(FUZZ_SECONDS)
	@cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVANTREL_WINDOW=OFF \
	  -DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)" >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j$$(nproc)
	@cd $(SANITIZE_BUILD) && if ctest -j$$(nproc) >ctest.log 2>&1; then \
	  echo "sanitizers: $$(grep -E 'tests passed' ctest.log)"; \
	else cat ctest.log; exit 1; fi
	@cd $(BUILD) && ctest --output-on-failure -j$$(nproc)

fuzz: deps
	@scripts/fuzz $(BUILD)/fuzz $(FUZZ_SECONDS)

# The Debian package $(BUILD)/vantrel_VERSION_ARCH.deb, checked by lintian:
# an error fails, warnings and notes (I:) are listed.
package: build
	@scripts/install-packages $(DEB_PACKAGES)
	@rm -f $(BUILD)/vantrel_*.deb
	@cd $(BUILD) && cpack -G DEB >/dev/null
	@ls $(BUILD)/vantrel_*.deb
	@lintian --fail-on error --display-info $(BUILD)/vantrel_*.deb

bench: build
	@bench/run $(BUILD)/vantrel-cli
	@bench/network $(BUILD)/vantrel-cli
	@$(BUILD)/vantrel-cut-bench
	@bench/startup $(BUILD)/vantrel-cli
	@bench/window $(BUILD)

clean:
	rm -rf $(BUILD)
