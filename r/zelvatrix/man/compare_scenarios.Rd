\name{compare_scenarios}
\alias{compare_scenarios}
\title{Compare scenarios' range edges with a baseline's}
\description{
The table of \command{zvx compare}: every file's edge series against the same
edge of the baseline's, a scenario against its reference, year by year.
}
\usage{
compare_scenarios(baseline, files, start_year = 1, axis = "y", share = 0.1,
                  burn_in = 0, clean = 0,
                  smooth = c("none", "sma", "exp", "median"), window,
                  weighted = FALSE, y_down = FALSE, resolution = NULL,
                  jobs = NULL, on_error = c("stop", "warn"))
}
\arguments{
  \item{baseline}{the baseline's MP file.}
  \item{files}{the scenarios' MP files.}
  \item{start_year, axis, share, burn_in, clean, smooth, window, weighted,
    y_down, resolution, jobs, on_error}{as for \code{\link{range_edges}};
    the edge series are not smoothed.}
}
\value{
A data frame of \code{baseline, file, edge, year, diff_x, diff_y,
diff_initial_x, diff_initial_y, prop_initial_x, prop_initial_y,
prop_yearly_x, prop_yearly_y}, one row per file, edge and year from the burn-in
on. With a the baseline's edge centroid series and c the file's: \code{diff}
is a minus c; \code{diff_initial} is a's position in the last burn-in year (the
first year without burn-in) minus c;
\code{prop_initial} is the per cent by which the size of \code{diff_initial}
departs from its size in the first reported year; \code{prop_yearly} is c's
step from the year before as a per cent of \code{diff}, signs kept
(\code{NA} in the first year, and wherever the value is not a number).
}
\section{Errors}{
A file whose years differ from the baseline's fails, like a missing or
malformed file (see \code{\link{range_edges}}); a baseline that fails is
always an error, as no file can be compared without it.
}
\seealso{\code{\link{range_edges}}}
