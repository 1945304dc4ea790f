# Set-up on a fresh Debian 12 machine, as root: `make run` or `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: deps build run test package bench fidelity fuzz clean

deps:
	bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

run: build
	cd $(BUILD) && ./tessaglyph

# Every test, then every test again built with AddressSanitizer and
# UndefinedBehaviorSanitizer.
test: build
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)
	cmake -S . -B $(BUILD)-asan -DCMAKE_BUILD_TYPE=Debug -DTESSAGLYPH_SANITIZE=ON
	cmake --build $(BUILD)-asan -j$(JOBS)
	ctest --test-dir $(BUILD)-asan --output-on-failure -j$(JOBS)

# A Debian package of both programs: $(BUILD)/tessaglyph_<version>_amd64.deb
package: build
	cd $(BUILD) && cpack

bench: build
	bash bench/run.sh $(BUILD)

# Every page of the world's scripts drawn from a kit of every regular face the
# font packages install, against the whole font (about an hour; not in test).
fidelity: build
	/usr/bin/python3 scripts/fidelity_sweep.py $(BUILD)

clean:
	rm -rf $(BUILD) build-*

MINUTES ?= 10
fuzz:
	bash scripts/fuzz.sh $(MINUTES)
