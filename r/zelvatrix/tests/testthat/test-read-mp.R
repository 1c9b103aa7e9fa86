# The MP reader's small example: two patches, three years, resolution 2.5.
example_lines <- c(
  "Model input", "Grid 2.5 km",
  "North Wood,10.0,20.0,0,wood.KCH", "South Marsh,12.5,8.0,0,marsh.KCH",
  "Migration", "0,1",
  "Pop. ALL", "40.0 0 0", "42.0 0 0", "45.0 0 0",
  "Pop. 1", "25.0 0 0", "26.0 0 0", "27.0 0 0",
  "Pop. 2", "15.0 0 0", "16.0 0 0", "18.0 0 0")

write_mp <- function(lines) {
  file <- tempfile(fileext = ".mp")
  writeLines(lines, file)
  file
}

test_that("read_mp reads the patches, their populations and the resolution", {
  mp <- read_mp(write_mp(example_lines), start_year = 2000)
  expect_identical(mp$patches, data.frame(
    patch = c("North Wood", "South Marsh"), x = c(10, 12.5), y = c(20, 8),
    stringsAsFactors = FALSE))
  expect_identical(mp$populations, data.frame(
    patch = rep(c("North Wood", "South Marsh"), each = 3),
    year = rep(2000:2002, 2), population = c(25, 26, 27, 15, 16, 18),
    stringsAsFactors = FALSE))
  expect_identical(mp$resolution, 2.5)
  # The first simulated year is year 1 unless told otherwise.
  expect_identical(read_mp(write_mp(example_lines))$populations$year,
                   rep(1:3, 2))
})

test_that("read_mp fails naming the file and the line at fault", {
  missing <- file.path(tempdir(), "absent.mp")
  expect_error(read_mp(missing),
               paste0("^", missing, ": cannot open the MP file"),
               class = "zelvatrix_file_error")
  # A block cut short: the reader says where.
  truncated <- write_mp(head(example_lines, -1))
  error <- tryCatch(read_mp(truncated), error = identity)
  expect_identical(error$file, truncated)
  expect_match(conditionMessage(error), paste0("^", truncated, ": line "))
})
