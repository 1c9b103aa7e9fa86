\name{range_edges}
\alias{range_edges}
\alias{edge_members}
\alias{year_measures}
\title{Range edges, their members and yearly measures of MP files}
\description{
The tables of \command{zvx edges}, \command{zvx members} and \command{zvx
years} for a whole ensemble of MP files, as data frames: the same columns,
types, row order and values, computed by the same library. The files are
analysed in parallel on \code{jobs} threads; the rows follow the files in
the order given.
}
\usage{
range_edges(files, start_year = 1, axis = "y", share = 0.1, burn_in = 0,
            clean = 0, smooth = c("none", "sma", "exp", "median"), window,
            weighted = FALSE, y_down = FALSE, resolution = NULL,
            jobs = NULL, on_error = c("stop", "warn"))
edge_members(files, start_year = 1, axis = "y", share = 0.1, burn_in = 0,
             clean = 0, smooth = c("none", "sma", "exp", "median"), window,
             weighted = FALSE, y_down = FALSE, resolution = NULL,
             jobs = NULL, on_error = c("stop", "warn"))
year_measures(files, start_year = 1, axis = "y", share = 0.1, burn_in = 0,
              clean = 0, smooth = c("none", "sma", "exp", "median"), window,
              weighted = FALSE, y_down = FALSE, resolution = NULL,
              jobs = NULL, on_error = c("stop", "warn"))
}
\arguments{
  \item{files}{the MP files' names, a character vector; the \code{file}
    column holds them as given.}
  \item{start_year}{the calendar year of the first simulated year, 1 to
    99999999.}
  \item{axis}{the ordinate, \code{"x"} or \code{"y"} (either case).}
  \item{share}{the share of each year's total population that each edge
    gathers, above 0 and at most 1.}
  \item{burn_in}{leading years that are not reported, 0 or more.}
  \item{clean}{first drop the patches without \code{clean} consecutive
    occupied years; 0: no cleaning.}
  \item{smooth}{how the shifts are smoothed: not at all, a centred moving
    average, exponential smoothing with the factor 2 / (\code{window} + 1),
    or a running median.}
  \item{window}{the smoothing window in years, at least 1; needed unless
    \code{smooth} is \code{"none"}.}
  \item{weighted}{edge centroids weighted by what each patch contributes to
    the edge instead of the plain mean.}
  \item{y_down}{the map's y grows southwards, as on the model's GIS grids:
    the edge at the largest y is then the south.}
  \item{resolution}{kilometres per map unit, overriding the file's; \code{NULL}
    for the file's.}
  \item{jobs}{files analysed at once; \code{NULL} for all hardware threads.}
  \item{on_error}{what a file that fails does: \code{"stop"}, an error; or
    \code{"warn"}, a warning, and no rows for that file.}
}
\details{
Every function takes every option of \command{zvx}, and as there, each uses
only those that concern it: \code{edge_members} reports every year of the
span, without burn-in or smoothing, and the unweighted walk;
\code{year_measures} uses only \code{start_year}, \code{clean} and
\code{resolution}.
}
\value{
A data frame; character, integer and double columns, \code{NA} where the
value is not a number.

\code{range_edges}: \code{file, edge, year, x, y, shift_x, shift_y,
shift_x_km, shift_y_km, step_x, step_y}: one row per file, edge and reported
year (from the burn-in on; fewer at the ends with \code{"sma"} and
\code{"median"}), the rows of \code{"north"} (\code{"east"} with axis x)
before those of \code{"south"} (\code{"west"}). \code{x}, \code{y}: the edge
centroid in map units, never smoothed; \code{shift}: reference minus
position, smoothed as chosen, in map units and kilometres; \code{step}: the
centroid minus that of the year before, \code{NA} in the first year.

\code{edge_members}: \code{file, edge, year, patch, x, y, population,
taken}: the patches that each year's edge walk takes, from the edge inwards;
\code{taken} is what the patch contributes to the edge subpopulation.

\code{year_measures}: \code{file, year, total, occupied, mean_x, mean_y,
weighted_x, weighted_y, effective_patches, area, area_km2}: one row per file
and year: the total population, the occupied patches (integer), their plain
and population-weighted centroids, the effective number of occupied patches
and the area of their minimum convex polygon in map units squared and km².
}
\section{Errors}{
A failed file (missing, malformed, or with settings its years cannot hold)
is an error of class \code{zelvatrix_file_error}, or with \code{on_error =
"warn"} a warning of class \code{zelvatrix_file_warning}; the message starts
with the file's name and the condition's \code{file} field holds it. A bad
argument is an error naming the argument.
}
\seealso{\code{\link{compare_scenarios}}, \code{\link{read_mp}}}
\examples{
\dontrun{
edges <- range_edges("examples/heath_skink.mp", start_year = 2030)
north <- edges[edges$edge == "north", ]
plot(north$year, north$y, type = "l")
}
}
