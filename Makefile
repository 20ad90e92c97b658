# The two commands of the README: `make run` and `make test`. Each installs what is
# missing, configures, builds, then runs the main program or the whole test suite.
JOBS ?= $(shell nproc)

.PHONY: all deps build run test install package test-install clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@test -f build/CMakeCache.txt || cmake --preset default
	cmake --build --preset default -j $(JOBS)

# Brindle on a desktop, its table in the terminal otherwise.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then build/bin/brindle; else build/bin/gaugery top; fi

test: build
	ctest --preset default -j $(JOBS)

# Installs into PREFIX (default /usr/local): make install PREFIX=$$HOME/.local
PREFIX ?= /usr/local
install: build
	cmake --install build --prefix $(PREFIX)

# Debian packages in build/packages/.
package: build
	cd build && cpack

# Installs into a temporary prefix and builds a depending project against it.
test-install: build
	tests/install/check-install.sh build

clean:
	rm -rf build
