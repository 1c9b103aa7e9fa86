# The R package against base R on one MP file: read_mp plus range_edges (the
# package's reader and a whole edge analysis) against reading the same file
# with base R alone (readLines, then read.table of the patch lines and of
# every population block). Prints the median times and their ratio against
# the target: the package at least 20 times faster.
#
# Usage, from the project root, with the package installed:
#   Rscript bench/r_read.R [FILE [RUNS]]
# FILE defaults to the real 263-patch file of the shared data.

suppressPackageStartupMessages(library(zelvatrix))

args <- commandArgs(trailingOnly = TRUE)
file <- if (length(args) >= 1L) args[[1]] else
  "../shared/data/real-mp/mptools_example_263pops.mp"
runs <- if (length(args) >= 2L) as.integer(args[[2]]) else 7L
if (!file.exists(file)) stop(file, " not found", call. = FALSE)

# What a user without the package writes: the patch lines run from the first
# line holding ".KCH", "Pop" or ".DCH" to the line before "Migration"; each
# result block "Pop. ALL", "Pop. 1", ... holds one line per year, whose
# first number is the mean population.
read_with_base_r <- function(file) {
  lines <- readLines(file, warn = FALSE, encoding = "bytes")
  first_patch <- grep("[.]KCH|Pop|[.]DCH", lines, useBytes = TRUE)[[1]]
  migration <- which(lines == "Migration")[[1]]
  patches <- read.table(text = lines[first_patch:(migration - 1L)], sep = ",",
                        fill = TRUE, stringsAsFactors = FALSE,
                        comment.char = "", quote = "")[, 1:3]
  names(patches) <- c("patch", "x", "y")
  all <- which(lines == "Pop. ALL")[[1]]
  years <- which(lines == "Pop. 1")[[1]] - all - 1L
  populations <- lapply(seq_len(nrow(patches)), function(k) {
    start <- all + k * (years + 1L)
    read.table(text = lines[(start + 1L):(start + years)])[[1]]
  })
  list(patches = patches, populations = populations)
}

with_package <- function(file) {
  mp <- read_mp(file)
  range_edges(file, jobs = 1)
  mp
}

# Median wall time of `runs` timed runs after one warm-up, each timed run
# repeated until it lasts at least 0.2 s, so that the clock's resolution does
# not matter.
median_seconds <- function(f) {
  f()
  repeats <- 1L
  repeat {
    elapsed <- system.time(for (i in seq_len(repeats)) f())[["elapsed"]]
    if (elapsed >= 0.2) break
    repeats <- repeats * 2L
  }
  times <- vapply(seq_len(runs), function(i) {
    system.time(for (k in seq_len(repeats)) f())[["elapsed"]] / repeats
  }, 0)
  stats::median(times)
}

# Both read the same patches and populations.
base_r <- read_with_base_r(file)
mp <- read_mp(file)
stopifnot(setequal(base_r$patches$patch, mp$patches$patch),
          length(unlist(base_r$populations)) == nrow(mp$populations))

package_time <- median_seconds(function() with_package(file))
base_time <- median_seconds(function() read_with_base_r(file))
ratio <- base_time / package_time
cat(sprintf("R package against base R on %s (%.1f kB), median of %d runs\n",
            basename(file), file.size(file) / 1000, runs))
cat(sprintf("  read_mp + range_edges        %9.2f ms\n", 1000 * package_time))
cat(sprintf("  readLines + read.table       %9.2f ms\n", 1000 * base_time))
cat(sprintf("  base R time / package time   %9.1f   target >= 20  %s\n", ratio,
            if (ratio >= 20) "PASS" else "FAIL"))
