#!/usr/bin/env bash
# Placeholder until the fuzz targets exist.
exit 0
