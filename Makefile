# The two commands of the README: `make run` and `make test`. Each installs what is
# missing, configures, builds, then runs the main program or the whole test suite.
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test test-windows designer install package test-install clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@test -f build/CMakeCache.txt || cmake --preset default

build: configure
	cmake --build --preset default -j $(JOBS)

# Brindle on a desktop, its table in the terminal otherwise. Only the two programs are
# built (with the library they use), not the tests and benchmarks.
run: configure
	cmake --build --preset default -j $(JOBS) --target brindle gaugery
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then build/bin/brindle; else build/bin/gaugery top; fi

test: build
	ctest --preset default -j $(JOBS)

# Both Windows builds, their unit and end-to-end suites under Wine.
test-windows: deps
	JOBS=$(JOBS) scripts/test-windows.sh

# Gaugery Designer with the design package it loads; FORM=file.json opens a stored form.
designer: configure
	cmake --build --preset default -j $(JOBS) --target gaugery-designer
	build/bin/gaugery-designer $(FORM)

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
