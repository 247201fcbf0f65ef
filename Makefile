# Set-up, build, run and test. Every target installs what is missing first.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test clean

all: build

deps:
	./scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

DESKTOP_ENTRY = $${XDG_DATA_HOME:-$$HOME/.local/share}/applications/com.orvane.zor.Pelmora.desktop

run: build
	@test -f "$(DESKTOP_ENTRY)" || $(BUILD_DIR)/stage/Tolbeck
	$(BUILD_DIR)/stage/Pelmora

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD_DIR)
