# The two commands of the README: `make run` and `make test`. Each installs what is
# missing, configures, builds, then runs the main program or the whole test suite.
JOBS ?= $(shell nproc)

.PHONY: all deps build run test clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@test -f build/CMakeCache.txt || cmake --preset default
	cmake --build --preset default -j $(JOBS)

run: build
	build/bin/gaugery dump

test: build
	ctest --preset default -j $(JOBS)

clean:
	rm -rf build
