# The two commands of the README: `make run` and `make test`. Each installs what is
# missing, configures, builds, then runs the main program or the whole test suite.
JOBS ?= $(shell nproc)

.PHONY: all deps build run test test-windows clean

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

# Both Windows builds, their unit and end-to-end suites under Wine.
test-windows: deps
	JOBS=$(JOBS) scripts/test-windows.sh

clean:
	rm -rf build
