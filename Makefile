# Set-up, build, run and test. Every target installs what is missing first.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build stage run test clean

all: build

deps:
	./scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja

# Everything: the application folder, the tests, the fuzz replays and the benchmarks.
build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# The application folder alone (programs, plug-in, OCR program, separation libraries, tools).
stage: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target stage

DESKTOP_ENTRY = $${XDG_DATA_HOME:-$$HOME/.local/share}/applications/com.orvane.zor.Pelmora.desktop

# Registration runs when the entry is missing or older than the Tolbeck built, so that a new
# build repairs what an earlier one registered. Pelmora has windows: without a graphical session
# it is not started (Qt would abort on the missing display).
run: stage
	@test "$(DESKTOP_ENTRY)" -nt "$(BUILD_DIR)/stage/Tolbeck" || { $(BUILD_DIR)/stage/Tolbeck && touch -c "$(DESKTOP_ENTRY)"; }
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY$$QT_QPA_PLATFORM" ]; then \
	  echo "make run: Pelmora needs a graphical session (neither DISPLAY nor WAYLAND_DISPLAY is set); it was built and registered but not started. Run it from a terminal of the desktop, or under a virtual display: xvfb-run make run" >&2; \
	  exit 1; \
	fi
	$(BUILD_DIR)/stage/Pelmora

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD_DIR)
