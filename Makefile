# The two entry points of the quick start, and the steps they are made of.
.PHONY: setup build run test bench fuzz clean

setup:
	@scripts/setup.sh

build: setup
	@scripts/build.sh build

run: build
	./build/tolvane

test: setup
	@scripts/test.sh

bench: setup
	@scripts/build.sh build
	@for b in build/bench/bench_*; do echo "== $$b"; $$b; done

fuzz: setup
	@FUZZ_SECONDS=$${FUZZ_SECONDS:-60} scripts/test.sh fuzz

clean:
	rm -rf build build-asan build-tsan build-fuzz
